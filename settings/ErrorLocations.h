#pragma once
// Where a failure was caught: the error location code each handler's trap
// reports in the error log ("Error value"), named once. The codes of the
// sound mode menu items and of the web links are fields of their own tables.

#include <QtGlobal>

namespace tonara::errol {

constexpr qint16 AboutClicked = 1;
constexpr qint16 AutoUpdateClicked = 2;
constexpr qint16 PitchHelpClicked = 3;
constexpr qint16 PlayClicked = 4;
constexpr qint16 StopClicked = 5;
constexpr qint16 SensitivityUpClicked = 7;
constexpr qint16 SensitivityDownClicked = 8;
constexpr qint16 DutchClicked = 11;
constexpr qint16 EnglishClicked = 12;
constexpr qint16 ExitClicked = 13;
constexpr qint16 MainWindowLoad = 14;
constexpr qint16 MainWindowUnload = 15;
constexpr qint16 BeforeOptionClicked = 16; // option k reports this plus k
constexpr qint16 OpenFileClicked = 16;
constexpr qint16 PitchSliderChanged = 26;
constexpr qint16 MicrophoneWaveData = 33;
constexpr qint16 MicrophoneStart = 34;
constexpr qint16 MicrophoneStop = 35;
constexpr qint16 MicrophoneDraw8Bit = 36;
constexpr qint16 MicrophoneConvert16Bit = 37;
constexpr qint16 MicrophoneDraw16Bit = 38;
constexpr qint16 MicrophoneOnOffClicked = 39;
constexpr qint16 AnalyserHalfShown = 41;
constexpr qint16 AnalyserPictureChanged = 42;
constexpr qint16 AnalyserInputChosen = 43;
constexpr qint16 WriteSettingsLine = 102;
constexpr qint16 CheckSettings = 103;
constexpr qint16 NewSettingsFile = 104;
constexpr qint16 Terminate = 105;
constexpr qint16 SendData = 106;
constexpr qint16 LoadActivityLog = 108;
constexpr qint16 AgreementLoad = 201;
constexpr qint16 AgreementClose = 202;
constexpr qint16 PitchHelpLoad = 301;
constexpr qint16 MorseHideInputClicked = 401;
constexpr qint16 MorsePlayClicked = 402;
constexpr qint16 MorseStopClicked = 403;
constexpr qint16 MorseLoad = 404;
constexpr qint16 MorseSaveAsClicked = 407;
constexpr qint16 MorseTimingChanged = 408;
constexpr qint16 UpdateClicked = 701;
constexpr qint16 DontUpdateClicked = 702;
constexpr qint16 PlayerReplayClicked = 901;
constexpr qint16 PlayerStopClicked = 902;
constexpr qint16 PlayerExitClicked = 903;
constexpr qint16 PlayerLoad = 904;
constexpr qint16 PlayerUnload = 905;
constexpr qint16 PlayerIllegalFile = 906;
constexpr qint16 PlayerPass = 908;
constexpr qint16 PlayerFileTooNew = 910;
constexpr qint16 SelectRadio = 1010;
constexpr qint16 WriteTest = 1012;
constexpr qint16 UpdateCheck = 1013;
constexpr qint16 DrawSine = 1014;
constexpr qint16 SoundSetLanguage = 1014;
constexpr qint16 LanguageApi = 1015;
constexpr qint16 Sound16 = 1015;
constexpr qint16 Sound32 = 1016;
constexpr qint16 LowToHigh = 1018;
constexpr qint16 KillAll = 1019;
constexpr qint16 SoundDX = 1020;
constexpr qint16 SoundWinmm = 1021;
constexpr qint16 SoundWinmmRND = 1022;
constexpr qint16 SoundDXRND = 1023;
constexpr qint16 TimedSound = 1023;
constexpr qint16 SoundWinmmRNDTMP = 1024;
constexpr qint16 SendDataUpload = 1025;
constexpr qint16 SoundDXRNDTMP = 1025;
constexpr qint16 SoundWinmmLTH = 1026;
constexpr qint16 CaptureCallback = 9901;

} // namespace tonara::errol

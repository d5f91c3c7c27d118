// The shut-down sequence: every tone loop ends, the player falls silent,
// every window closes and the program ends.
#include "ErrorLocations.h"
#include "ExFunctions.h"
#include "Folders.h"
#include "Form1.h"
#include "Platform.h"
#include "Program.h"
#include "Sound.h"
#include "TextFile.h"
#include "Trap.h"

namespace tonara {

void Form1::unloadHandler() {
    trapped(*this, errol::MainWindowUnload, [&] {
        Program program(*this);
        // A failure in a shut-down that a termination request began is
        // reported, and the report closes every window, which comes back
        // here: the request asked for the end, so nothing is asked.
        if (closeCount_ >= 1 && endingOnRequest_) platform().endProgram(0);
        if (closeCount_ >= 1) {
            closeAnswer_ = qint16(platform().messageBox("Do you want to forcibly close tonara?", "Error",
                                                        MessageIcon::Critical, MessageButtons::YesNo));
            if (closeAnswer_ == kAnswerYes) platform().endProgram(0);
        }
        closeCount_ = 1;
        state_.z = 1;

        sound localSound(*this);
        ExFunctions exFunctions;
        hide();
        hideForm(Form::Form3);
        closeCaptureSource();
        deleteIfExists(joinPath(tempdir_, "tnftmp.wav"));
        exFunctions.WavPlay("0", false, true);
        // The program ends before any tone loop resumes: end the tone programs
        // and remove the hand-over and temporary files here.
        localSound.KillAll();
        localSound.online = 1;
        if (state_.snd == 1) program.SendData();
        for (Form form : {Form::Form2, Form::Form3, Form::Form4, Form::Form5, Form::Form6, Form::Form7, Form::Form8})
            unloadForm(form);
    });
    platform().endProgram(0);
}

} // namespace tonara

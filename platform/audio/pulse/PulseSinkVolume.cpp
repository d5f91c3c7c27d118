// The volume of the output at the sound server, for a program without a
// volume control of the desktop to set it by.
#include "SinkVolume.h"
#include "PulseConnection.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace tonara {

namespace {

PulseConnection* connection() { return PulseConnection::get(QCoreApplication::applicationName().toStdString()); }

struct SinkAnswer {
    DeviceVolume volume;
    pa_cvolume channels{};
};

bool askSink(PulseConnection& server, const std::string& sink, SinkAnswer& answer) {
    pa_operation* operation = pa_context_get_sink_info_by_name(
        server.context(), sink.c_str(),
        [](pa_context*, const pa_sink_info* info, int, void* data) {
            if (!info) return;
            auto* got = static_cast<SinkAnswer*>(data);
            got->volume = {true, double(pa_cvolume_max(&info->volume)) / PA_VOLUME_NORM, info->mute != 0,
                           QString::fromUtf8(info->description ? info->description : info->name)};
            got->channels = info->volume;
        },
        &answer);
    return server.finish(operation) && answer.volume.known;
}

} // namespace

DeviceVolume pulseSinkVolume() {
    PulseConnection* server = connection();
    if (!server) return {};
    PulseConnection::Lock lock(*server);
    SinkAnswer answer;
    askSink(*server, PulseConnection::playedSink(), answer);
    return answer.volume;
}

bool setPulseSinkVolume(double level, bool muted) {
    PulseConnection* server = connection();
    if (!server) return false;
    PulseConnection::Lock lock(*server);
    const std::string sink = PulseConnection::playedSink();
    SinkAnswer answer;
    if (!askSink(*server, sink, answer)) return false;
    // Every channel at the new level keeps the server's balance simple and the ears alike.
    const auto volume = pa_volume_t(std::lround(std::clamp(level, 0.0, 1.0) * PA_VOLUME_NORM));
    pa_cvolume channels = answer.channels;
    pa_cvolume_set(&channels, channels.channels, volume);
    const bool set = server->finish(pa_context_set_sink_volume_by_name(server->context(), sink.c_str(), &channels,
                                                                       nullptr, nullptr));
    const bool mutedSet =
        server->finish(pa_context_set_sink_mute_by_name(server->context(), sink.c_str(), muted, nullptr, nullptr));
    return set && mutedSet;
}

} // namespace tonara

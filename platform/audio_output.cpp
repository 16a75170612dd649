#include "platform/audio_output.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QCoreApplication>
#include <QIODevice>
#include <QMediaDevices>
#include <QThread>
#include <optional>

#include "platform/audio_source.h"

namespace orvane {
namespace {

std::optional<AudioSampleFormat> toMixerFormat(QAudioFormat::SampleFormat format) {
    switch (format) {
        case QAudioFormat::UInt8:
            return AudioSampleFormat::UInt8;
        case QAudioFormat::Int16:
            return AudioSampleFormat::Int16;
        case QAudioFormat::Int32:
            return AudioSampleFormat::Int32;
        case QAudioFormat::Float:
            return AudioSampleFormat::Float;
        default:
            return std::nullopt;
    }
}

// The sound server's absence is reported on stderr by Qt at the first
// device query; no device is a normal state here, so that line is dropped.
QtMessageHandler previousHandler = nullptr;

void dropSoundServerWarnings(QtMsgType type, const QMessageLogContext& context,
                             const QString& message) {
    if (message.startsWith(QLatin1String("PulseAudioService:"))) return;
    if (previousHandler) previousHandler(type, context, message);
}

QAudioDevice defaultOutputQuietly() {
    previousHandler = qInstallMessageHandler(dropSoundServerWarnings);
    QAudioDevice device = QMediaDevices::defaultAudioOutput();
    qInstallMessageHandler(previousHandler);
    return device;
}

}  // namespace

AudioOutput::AudioOutput(const std::string& soundFontPath) {
    if (!QCoreApplication::instance()) return;  // no Qt, no device
    const QAudioDevice device = defaultOutputQuietly();
    if (device.isNull()) return;
    QAudioFormat format = device.preferredFormat();
    auto sampleFormat = toMixerFormat(format.sampleFormat());
    if (!format.isValid() || !sampleFormat || format.channelCount() < 1) {
        format.setSampleRate(48000);
        format.setChannelCount(2);
        format.setSampleFormat(QAudioFormat::Int16);
        if (!device.isFormatSupported(format)) return;
        sampleFormat = AudioSampleFormat::Int16;
    }
    mixer_ = std::make_unique<AudioMixer>(
        AudioFormat{format.sampleRate(), format.channelCount(), *sampleFormat}, soundFontPath);

    thread_ = std::make_unique<QThread>();
    thread_->setObjectName("audio");
    source_ = new AudioMixerSource(*mixer_);
    source_->moveToThread(thread_.get());
    thread_->start(QThread::HighPriority);
    // Created and started on the audio thread; this thread does not wait.
    QMetaObject::invokeMethod(
        source_,
        [this, device, format] {
            sink_ = new QAudioSink(device, format);
            source_->open(QIODevice::ReadOnly | QIODevice::Unbuffered);  // no read-ahead latency
            sink_->start(source_);
        },
        Qt::QueuedConnection);
}

AudioOutput::~AudioOutput() {
    if (!thread_) return;
    QMetaObject::invokeMethod(
        source_,
        [this] {
            if (sink_) {
                sink_->stop();
                delete sink_;
                sink_ = nullptr;
            }
            delete source_;
            source_ = nullptr;
        },
        Qt::BlockingQueuedConnection);
    thread_->quit();
    thread_->wait();
}

}  // namespace orvane

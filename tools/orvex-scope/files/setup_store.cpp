#include "setup_store.h"

#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace scope {

namespace {

constexpr int formatVersion = 1;

double number(const QSettings &settings, const QString &key, double fallback, double low,
              double high) {
    bool ok = false;
    const double value = settings.value(key, fallback).toDouble(&ok);
    return ok && std::isfinite(value) ? std::clamp(value, low, high) : fallback;
}

int whole(const QSettings &settings, const QString &key, int fallback, int low, int high) {
    return static_cast<int>(
        std::lround(number(settings, key, fallback, double(low), double(high))));
}

// Lines by name, so that a setup file reads as the board's users name them.
QString lineNames(std::uint16_t lines) {
    QStringList names;
    for (int line = 0; line < lineCount; ++line) {
        if ((lines >> line) & 1u) {
            names << QString::fromStdString(lineName(line));
        }
    }
    return names.join(',');
}

std::uint16_t linesOfNames(const QString &text) {
    unsigned lines = 0;
    for (const QString &name : text.split(',', Qt::SkipEmptyParts)) {
        const int line = lineOfName(name.trimmed().toStdString());
        lines |= line >= 0 ? 1u << line : 0u;
    }
    return static_cast<std::uint16_t>(lines);
}

} // namespace

void writeSetup(QSettings &settings, const ScopeSetup &setup) {
    settings.setValue("scope/version", formatVersion);
    settings.setValue("scope/rate", setup.rate);
    settings.setValue("scope/secondsPerDivision", setup.secondsPerDivision);
    settings.setValue("scope/mode", static_cast<int>(setup.mode));
    settings.setValue("scope/historyBound", setup.historyBound);
    settings.setValue("trigger/input", setup.trigger.input);
    settings.setValue("trigger/line", setup.trigger.line >= 0
                                          ? QString::fromStdString(lineName(setup.trigger.line))
                                          : QString());
    settings.setValue("trigger/level", setup.trigger.level);
    settings.setValue("trigger/rising", setup.trigger.rising);
    settings.setValue("trigger/preTrigger", setup.trigger.preTrigger);
    for (int k = 0; k < inputCount; ++k) {
        const ChannelSetup &channel = setup.channels[static_cast<std::size_t>(k)];
        settings.beginGroup(QString("ai%1").arg(k));
        settings.setValue("enabled", channel.enabled);
        settings.setValue("visible", channel.visible);
        settings.setValue("colour", QString("#%1").arg(channel.colour, 6, 16, QChar('0')));
        settings.setValue("range", channel.range);
        settings.setValue("terminal", channel.terminal);
        settings.setValue("voltsPerDivision", channel.voltsPerDivision);
        settings.setValue("offset", channel.offset);
        settings.endGroup();
    }
    settings.setValue("digital/lines", lineNames(setup.lines));
    settings.setValue("generator/onScanClock", setup.outputsOnScanClock);
    settings.setValue("generator/rate", setup.outputRate);
    for (int k = 0; k < outputCount; ++k) {
        const OutputSetup &output = setup.outputs[static_cast<std::size_t>(k)];
        settings.beginGroup(QString("ao%1").arg(k));
        settings.setValue("enabled", output.enabled);
        settings.setValue("waveform", static_cast<int>(output.waveform));
        settings.setValue("frequency", output.frequency);
        settings.setValue("amplitude", output.amplitude);
        settings.setValue("offset", output.offset);
        settings.setValue("file", QString::fromStdString(output.file));
        settings.endGroup();
    }
}

ScopeSetup readSetup(QSettings &settings) {
    ScopeSetup setup;
    setup.rate = number(settings, "scope/rate", setup.rate, 1.0, 1.25e6);
    setup.secondsPerDivision =
        number(settings, "scope/secondsPerDivision", setup.secondsPerDivision, 1e-6, 10.0);
    setup.mode =
        static_cast<SweepMode>(whole(settings, "scope/mode", static_cast<int>(setup.mode), 0, 3));
    setup.historyBound = static_cast<long long>(
        number(settings, "scope/historyBound", double(setup.historyBound), 1e3, 1e8));
    setup.trigger.input = whole(settings, "trigger/input", 0, 0, inputCount - 1);
    setup.trigger.line = lineOfName(settings.value("trigger/line").toString().toStdString());
    setup.trigger.level = number(settings, "trigger/level", 0.0, -10.0, 10.0);
    setup.trigger.rising = settings.value("trigger/rising", true).toBool();
    setup.trigger.preTrigger = number(settings, "trigger/preTrigger", 0.5, 0.0, 1.0);
    for (int k = 0; k < inputCount; ++k) {
        ChannelSetup &channel = setup.channels[static_cast<std::size_t>(k)];
        settings.beginGroup(QString("ai%1").arg(k));
        channel.enabled = settings.value("enabled", channel.enabled).toBool();
        channel.visible = settings.value("visible", channel.visible).toBool();
        bool ok = false;
        const uint colour = settings.value("colour").toString().mid(1).toUInt(&ok, 16);
        channel.colour = ok ? colour & 0xFFFFFF : channel.colour;
        channel.range = number(settings, "range", channel.range, 0.1, 10.0);
        channel.terminal = whole(settings, "terminal", channel.terminal, 0, 2);
        channel.voltsPerDivision =
            number(settings, "voltsPerDivision", channel.voltsPerDivision, 1e-3, 5.0);
        channel.offset = number(settings, "offset", channel.offset, -20.0, 20.0);
        settings.endGroup();
    }
    setup.lines = linesOfNames(settings.value("digital/lines").toString());
    setup.outputsOnScanClock =
        settings.value("generator/onScanClock", setup.outputsOnScanClock).toBool();
    setup.outputRate = number(settings, "generator/rate", setup.outputRate, 1.0, 2.86e6);
    for (int k = 0; k < outputCount; ++k) {
        OutputSetup &output = setup.outputs[static_cast<std::size_t>(k)];
        settings.beginGroup(QString("ao%1").arg(k));
        output.enabled = settings.value("enabled", output.enabled).toBool();
        output.waveform = static_cast<Waveform>(
            whole(settings, "waveform", static_cast<int>(output.waveform), 0, 4));
        output.frequency = number(settings, "frequency", output.frequency, 1e-3, 1e6);
        output.amplitude = number(settings, "amplitude", output.amplitude, -10.0, 10.0);
        output.offset = number(settings, "offset", output.offset, -10.0, 10.0);
        output.file = settings.value("file").toString().toStdString();
        settings.endGroup();
    }
    return setup;
}

bool saveSetupFile(const QString &path, const ScopeSetup &setup) {
    QSettings file(path, QSettings::IniFormat);
    file.clear();
    writeSetup(file, setup);
    file.sync();
    return file.status() == QSettings::NoError;
}

std::optional<ScopeSetup> loadSetupFile(const QString &path) {
    if (!QFileInfo(path).isReadable()) {
        return std::nullopt;
    }
    QSettings file(path, QSettings::IniFormat);
    if (file.status() != QSettings::NoError ||
        file.value("scope/version").toInt() != formatVersion) {
        return std::nullopt;
    }
    return readSetup(file);
}

} // namespace scope

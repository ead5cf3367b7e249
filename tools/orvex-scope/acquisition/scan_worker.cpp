#include "scan_worker.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QThread>
#include <algorithm>
#include <cmath>

namespace scope {

void ScanWorker::run() {
    long long samplesRead = 0;
    if (start()) {
        readUntilStopped();
        samplesRead = source_->stop();
    }
    emit finished(samplesRead);
}

bool ScanWorker::start() {
    while (!stopping_) {
        const int status = source_->start(plan_);
        if (status >= 0) {
            emit started(source_->rate());
            return true;
        }
        if (status != ScanSource::converterHeld) {
            emit failed(source_->lastError());
            return false;
        }
        emit refused(source_->lastError());
        pauseUnlessStopped(retrySeconds);
    }
    return false;
}

void ScanWorker::readUntilStopped() {
    const int width = static_cast<int>(plan_.inputs.size());
    const double rate = source_->rate();
    const int perBlock = std::max(1, static_cast<int>(std::lround(rate * blockSeconds)));
    QList<double> block(static_cast<qsizetype>(perBlock) * width);
    // A board in virtual time answers at once: the worker keeps to the clock itself, so that
    // the screen sees the signal at its pace and the window is not flooded.
    QElapsedTimer clock;
    clock.start();
    long long read = 0;
    while (!stopping_) {
        int count = 0;
        const int status = source_->read(block.data(), perBlock, &count, 1.0);
        if (count > 0) {
            read += count;
            emit scansRead(block.first(static_cast<qsizetype>(count) * width));
            readLines();
        }
        if (status < 0 && status != ScanSource::timedOut) {
            emit failed(source_->lastError());
            return;
        }
        pauseUnlessStopped(double(read) / rate - double(clock.nsecsElapsed()) * 1e-9);
    }
}

void ScanWorker::readLines() {
    if (plan_.linePorts.empty()) {
        return;
    }
    const bool retry =
        !sincePortsTried_.isValid() || double(sincePortsTried_.elapsed()) >= retrySeconds * 1000.0;
    QStringList refusals;
    unsigned levels = 0;
    unsigned known = 0;
    for (const int port : plan_.linePorts) {
        bool &taken = portTaken_[static_cast<std::size_t>(port)];
        if (!taken && retry) {
            taken = source_->takePort(port) >= 0;
            if (!taken) {
                refusals << source_->lastError();
            }
        }
        unsigned char value = 0;
        // A port whose read fails is taken again at the next try, which says why it cannot.
        taken = taken && source_->readPort(port, &value) >= 0;
        if (taken) {
            levels |= unsigned(value) << (port * linesPerPort);
            known |= 0xFFu << (port * linesPerPort);
        }
    }
    if (retry) {
        sincePortsTried_.restart();
        const QString refusal = refusals.join(' ');
        if (refusal != portRefusal_) {
            portRefusal_ = refusal;
            emit portsRefused(refusal);
        }
    }
    emit linesRead(static_cast<quint16>(levels), static_cast<quint16>(known));
}

void ScanWorker::pauseUnlessStopped(double seconds) {
    QElapsedTimer waited;
    waited.start();
    while (!stopping_ && double(waited.nsecsElapsed()) * 1e-9 < seconds) {
        QThread::msleep(static_cast<unsigned long>(
            std::clamp(seconds * 1000.0 - double(waited.elapsed()), 1.0, 20.0)));
    }
}

} // namespace scope

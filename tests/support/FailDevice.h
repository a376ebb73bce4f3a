#pragma once

#include "common/FileWriter.h"

#include <QIODevice>
#include <functional>

// A device that passes the first `limit` bytes on to another and then fails, like a disk that fills up;
// atLimit, when given, runs instead of failing (a test kills its process there).
class FailDevice : public QIODevice
{
public:
    FailDevice(QIODevice& target, qint64 limit, std::function<void()> atLimit = {});

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override;

private:
    QIODevice& m_target;
    qint64 m_left;
    std::function<void()> m_atLimit;
};

// While it lives, every file the program writes goes through a FailDevice of that limit.
class FailingWrites : public filewriter::Probe
{
public:
    explicit FailingWrites(qint64 limit) : m_limit(limit) { filewriter::setProbe(this); }
    ~FailingWrites() override { filewriter::setProbe(nullptr); }
    std::unique_ptr<QIODevice> device(QIODevice& file) override { return std::make_unique<FailDevice>(file, m_limit); }

private:
    qint64 m_limit;
};

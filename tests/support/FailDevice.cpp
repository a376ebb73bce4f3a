#include "FailDevice.h"

FailDevice::FailDevice(QIODevice& target, qint64 limit, std::function<void()> atLimit)
    : m_target(target), m_left(limit), m_atLimit(std::move(atLimit))
{
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 FailDevice::writeData(const char* data, qint64 length)
{
    if (m_left == 0) {
        if (m_atLimit)
            m_atLimit();
        return -1;
    }
    const qint64 written = m_target.write(data, std::min(length, m_left));
    if (written > 0)
        m_left -= written;
    return written;
}

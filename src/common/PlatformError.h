#pragma once

#include <QString>
#include <exception>

// A failure of the platform (a file that cannot be opened, a text that is not a number...),
// carrying the French message the general error handler shows. The operation stops where it is raised.
class PlatformError : public std::exception
{
public:
    explicit PlatformError(QString message);

    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

    static PlatformError cannotOpen(const QString& fileName);
    static PlatformError cannotCreate(const QString& fileName);
    static PlatformError ioError(int code);
    static PlatformError notAFloat(const QString& text);
    static PlatformError notADate(const QString& text);
    static PlatformError unknownPictureExtension(const QString& extension);

private:
    QString m_message;
    QByteArray m_utf8;
};

#pragma once

#include <QString>
#include <QStringList>
#include <exception>
#include <vector>

// A failure of the platform (a file that cannot be opened, a text that is not a number...),
// carrying the French message the general error handler shows. The operation stops where it is raised.
class PlatformError : public std::exception
{
public:
    explicit PlatformError(QString message, QStringList files = {});

    const QString& message() const { return m_message; }
    // The files that could not be opened or created, for the question asked after a failure at quit.
    const QStringList& files() const { return m_files; }
    const char* what() const noexcept override { return m_utf8.constData(); }

    static PlatformError cannotOpen(const QString& fileName);
    static PlatformError cannotCreate(const QString& fileName);
    // A file refused before it is read whole: "Le fichier %s <fault> : ce n'est pas <what>.", the fault being
    // what passes the reader's bounds ("est trop grand (plus de 32 Mo)") and what the file was taken for.
    static PlatformError refusedFile(const QString& fileName, const QString& fault, QStringView what);
    // "Le fichier %s est trop grand (plus de 32 Mo) : ce n'est pas un fichier de classe."
    static PlatformError tooLarge(const QString& fileName, qint64 maxBytes, QStringView what);
    static PlatformError ioError(int code);
    static PlatformError notAFloat(const QString& text);
    static PlatformError notADate(const QString& text);
    static PlatformError unknownPictureExtension(const QString& extension);
    // Several failures of one operation shown at once: their messages one per line.
    static PlatformError combine(const std::vector<PlatformError>& failures);

private:
    QString m_message;
    QStringList m_files;
    QByteArray m_utf8;
};

// Runs every step of an operation whatever became of the ones before, and then raises what failed.
class FailureList
{
public:
    template <typename F> void attempt(F&& step)
    {
        try {
            step();
        } catch (const PlatformError& error) {
            m_failures.push_back(error);
        }
    }
    bool isEmpty() const { return m_failures.empty(); }
    // Raises the failures together, if there were any.
    void raise() const;

private:
    std::vector<PlatformError> m_failures;
};

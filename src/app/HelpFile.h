#pragma once

#include "core/TextFile.h"

#include <QList>
#include <QString>
#include <QStringList>

// The program's help file "Virelan.hlp": UTF-8 text, one topic after another.
//   ; a comment line
//   @topic <help context> <title>
//   @keywords <keyword>; <keyword>; ...
//   the topic's text in simple HTML, up to the next @topic
class HelpFile
{
public:
    struct Topic
    {
        int context = 0;
        QString title;
        QStringList keywords;
        QString body;
    };

    // Far more than a whole manual (this program's help takes about 15 KB); a larger file is refused before it
    // is read.
    static constexpr textfile::Limit FileLimit{1024 * 1024, u"un fichier d'aide"};

    static HelpFile parse(const QByteArray& text);
    // Reads a file; an unreadable one gives an invalid help file, and so does one beyond FileLimit, with the
    // message that says so.
    static HelpFile load(const QString& path);

    bool isValid() const { return m_valid; }
    // Why a file that exists was refused: "Le fichier %s est trop grand (plus de 1 Mo) : ce n'est pas un
    // fichier d'aide."; empty otherwise.
    const QString& refusal() const { return m_refusal; }
    const QList<Topic>& topics() const { return m_topics; }
    const Topic* topic(int context) const;
    // Every keyword with the topics that carry it, sorted without regard to case or accents.
    QList<QPair<QString, int>> index() const;

private:
    bool m_valid = false;
    QString m_refusal;
    QList<Topic> m_topics;
};

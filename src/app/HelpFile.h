#pragma once

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

    static HelpFile parse(const QByteArray& text);
    // Reads a file; an unreadable one gives an invalid help file.
    static HelpFile load(const QString& path);

    bool isValid() const { return m_valid; }
    const QList<Topic>& topics() const { return m_topics; }
    const Topic* topic(int context) const;
    // Every keyword with the topics that carry it, sorted without regard to case or accents.
    QList<QPair<QString, int>> index() const;

private:
    bool m_valid = false;
    QList<Topic> m_topics;
};

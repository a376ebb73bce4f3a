#pragma once

#include "app/HelpFile.h"

#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;

// The help viewer: contents, keyword search and the help on using help, over the help file.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    // A viewer of the help file at that path.
    explicit HelpWindow(const QString& helpFile, QWidget* parent = nullptr);

    const QString& helpFile() const { return m_helpFile; }
    // The file actually read: the help file when it exists, else the copy installed with the program.
    QString resolvedHelpFile() const;
    // The same for a program whose executable lies in executableDir.
    static QString resolvedHelpFile(const QString& helpFile, const QString& executableDir);

    void showContents();
    void showSearch(const QString& keyword);
    void showHelpOnHelp();
    void showTopic(int context);

    QTabWidget* tabs() const { return m_tabs; }
    QTextBrowser* viewer() const { return m_viewer; }
    QListWidget* contentsList() const { return m_contents; }
    QListWidget* indexList() const { return m_index; }
    QLineEdit* keywordEdit() const { return m_keyword; }

private:
    bool reload();
    void fillIndex(const QString& keyword);
    void present();

    QString m_helpFile;
    HelpFile m_help;
    QString m_loadedPath;
    QTabWidget* m_tabs;
    QListWidget* m_contents;
    QLineEdit* m_keyword;
    QListWidget* m_index;
    QTextBrowser* m_viewer;
};

#include "app/HelpWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

const char16_t kHelpOnHelp[] =
    u"<h2>Utiliser l'aide</h2>"
    u"<p>La fenêtre d'aide a deux onglets à gauche :</p>"
    u"<ul><li><b>Sommaire</b> : la liste des rubriques d'aide. Cliquez sur une rubrique pour l'afficher à "
    u"droite.</li>"
    u"<li><b>Index</b> : tapez les premières lettres d'un mot ; la liste montre les mots-clés qui "
    u"commencent ainsi. Cliquez sur un mot-clé ou appuyez sur Entrée pour afficher sa rubrique.</li></ul>"
    u"<p>Les mots soulignés dans le texte mènent à d'autres rubriques. Dans un menu ouvert du programme, "
    u"la touche F1 affiche l'aide de ce menu.</p>"
    u"<p>Fermez la fenêtre d'aide quand vous voulez : elle ne gêne pas le travail dans le programme.</p>";

} // namespace

HelpWindow::HelpWindow(const QString& helpFile, QWidget* parent) : QWidget(parent, Qt::Window), m_helpFile(helpFile)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Aide de Vire Lan"));
    resize(760, 520);
    // An open help window does not keep the program running once the main frame has closed.
    setAttribute(Qt::WA_QuitOnClose, false);

    m_tabs = new QTabWidget;
    m_contents = new QListWidget;
    m_tabs->addTab(m_contents, QStringLiteral("Sommaire"));
    auto* indexPage = new QWidget;
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->addWidget(new QLabel(QStringLiteral("Tapez le mot recherché :")));
    m_keyword = new QLineEdit;
    indexLayout->addWidget(m_keyword);
    m_index = new QListWidget;
    indexLayout->addWidget(m_index);
    m_tabs->addTab(indexPage, QStringLiteral("Index"));

    m_viewer = new QTextBrowser;
    m_viewer->setOpenLinks(false);

    auto* splitter = new QSplitter;
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_viewer);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({230, 530});
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(splitter);

    connect(m_contents, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < m_help.topics().size())
            showTopic(m_help.topics()[row].context);
    });
    connect(m_keyword, &QLineEdit::textEdited, this, &HelpWindow::fillIndex);
    auto openIndexItem = [this](QListWidgetItem* item) {
        if (item)
            showTopic(item->data(Qt::UserRole).toInt());
    };
    connect(m_index, &QListWidget::itemClicked, this, openIndexItem);
    connect(m_keyword, &QLineEdit::returnPressed, this, [this, openIndexItem] {
        openIndexItem(m_index->currentItem() ? m_index->currentItem() : m_index->item(0));
    });
    connect(m_viewer, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (url.scheme() == QLatin1String("topic"))
            showTopic(url.path().toInt());
    });
}

QString HelpWindow::resolvedHelpFile() const
{
    return resolvedHelpFile(m_helpFile, QApplication::applicationDirPath());
}

QString HelpWindow::resolvedHelpFile(const QString& helpFile, const QString& executableDir)
{
    if (QFileInfo(helpFile).isFile())
        return helpFile;
    // Beside the executable (the build tree), then in the data folder of the install it belongs to.
    for (const QString& candidate : {executableDir + QStringLiteral("/Virelan.hlp"),
                                     executableDir + QStringLiteral("/" VIRELAN_DATA_FROM_BIN "/Virelan.hlp")})
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(candidate);
    return helpFile;
}

bool HelpWindow::reload()
{
    const QString path = resolvedHelpFile();
    if (path != m_loadedPath || !m_help.isValid()) {
        m_help = HelpFile::load(path);
        m_loadedPath = path;
        m_contents->blockSignals(true);
        m_contents->clear();
        for (const HelpFile::Topic& t : m_help.topics())
            m_contents->addItem(t.title);
        m_contents->blockSignals(false);
        fillIndex(m_keyword->text());
    }
    if (!m_help.refusal().isEmpty()) {
        m_viewer->setHtml(
            QStringLiteral("<h2>Fichier d'aide refusé</h2><p>%1</p>").arg(m_help.refusal().toHtmlEscaped()));
        return false;
    }
    if (!m_help.isValid()) {
        m_viewer->setHtml(QStringLiteral("<h2>Fichier d'aide introuvable</h2><p>Le fichier d'aide <b>%1</b> "
                                         "n'existe pas ou ne peut pas être lu.</p>")
                              .arg(QFileInfo(m_helpFile).absoluteFilePath().toHtmlEscaped()));
        return false;
    }
    return true;
}

void HelpWindow::fillIndex(const QString& keyword)
{
    m_index->clear();
    for (const auto& [word, context] : m_help.index()) {
        if (!keyword.isEmpty() && !word.startsWith(keyword, Qt::CaseInsensitive))
            continue;
        auto* item = new QListWidgetItem(word, m_index);
        item->setData(Qt::UserRole, context);
    }
    if (m_index->count() > 0)
        m_index->setCurrentRow(0);
}

void HelpWindow::present()
{
    show();
    raise();
    activateWindow();
}

void HelpWindow::showContents()
{
    m_tabs->setCurrentIndex(0);
    if (reload() && !m_help.topics().isEmpty()) {
        m_contents->setCurrentRow(0);
        showTopic(m_help.topics().first().context);
    }
    present();
}

void HelpWindow::showSearch(const QString& keyword)
{
    m_tabs->setCurrentIndex(1);
    m_keyword->setText(keyword);
    if (reload())
        fillIndex(keyword);
    present();
    m_keyword->setFocus();
}

void HelpWindow::showHelpOnHelp()
{
    m_viewer->setHtml(QString::fromUtf16(kHelpOnHelp));
    present();
}

void HelpWindow::showTopic(int context)
{
    if (!reload()) {
        present();
        return;
    }
    if (const HelpFile::Topic* t = m_help.topic(context)) {
        m_viewer->setHtml(QStringLiteral("<h2>%1</h2>").arg(t->title.toHtmlEscaped()) + t->body);
    } else {
        m_viewer->setHtml(QStringLiteral("<p>Rubrique d'aide %1 introuvable.</p>").arg(context));
    }
    present();
}

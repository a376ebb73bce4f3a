#include "classbook/VersionsDialog.h"

#include "core/FileNames.h"
#include "core/FrenchDates.h"
#include "core/MessageText.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

VersionsDialog::VersionsDialog(const QString& classFile, QWidget* parent)
    : QDialog(parent), m_entries(versions::list(classFile))
{
    setObjectName(QStringLiteral("Versions"));
    setWindowTitle(QStringLiteral("Versions précédentes de ") + filenames::lastComponent(classFile));
    resize(560, 260);

    List = new QTreeWidget(this);
    List->setObjectName(QStringLiteral("List"));
    List->setRootIsDecorated(false);
    List->setHeaderLabels({QStringLiteral("Version"), QStringLiteral("Enregistrée le"), QStringLiteral("Élèves"),
                           QStringLiteral("Taille")});
    for (const versions::Entry& entry : std::as_const(m_entries)) {
        auto* item = new QTreeWidgetItem(List);
        item->setText(0, entry.number == 0 ? QStringLiteral("Fichier actuel")
                                           : QStringLiteral("Version %1").arg(entry.number));
        item->setText(1, frdate::shortDate(entry.saved.date()) + QStringLiteral(" à ") +
                             frdate::longTime(entry.saved.time()));
        // A file that does not read as a class is listed, and can be neither restored nor opened.
        item->setText(2, entry.students < 0 ? QStringLiteral("illisible") : QString::number(entry.students));
        item->setText(3, messagetext::number(entry.size) + QStringLiteral(" octets"));
        for (int column : {2, 3})
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
    List->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    RestoreButton = new QPushButton(QStringLiteral("&Restaurer"), this);
    CopyButton = new QPushButton(QStringLiteral("&Ouvrir une copie"), this);
    CloseButton = new QPushButton(QStringLiteral("&Fermer"), this);
    RestoreButton->setObjectName(QStringLiteral("RestoreButton"));
    CopyButton->setObjectName(QStringLiteral("CopyButton"));
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    connect(RestoreButton, &QPushButton::clicked, this, [this] { choose(Choice::Restore); });
    connect(CopyButton, &QPushButton::clicked, this, [this] { choose(Choice::OpenCopy); });
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(List, &QTreeWidget::currentItemChanged, this, &VersionsDialog::selectionChanged);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(RestoreButton);
    buttons->addWidget(CopyButton);
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(List);
    layout->addLayout(buttons);

    // The newest kept version is the one a teacher most often wants back.
    if (List->topLevelItemCount() > 0)
        List->setCurrentItem(List->topLevelItem(List->topLevelItemCount() > 1 ? 1 : 0));
    selectionChanged();
}

QString VersionsDialog::chosenPath() const
{
    const int row = List->indexOfTopLevelItem(List->currentItem());
    return m_choice == Choice::None || row < 0 ? QString() : m_entries.at(row).path;
}

void VersionsDialog::choose(Choice choice)
{
    m_choice = choice;
    accept();
}

void VersionsDialog::selectionChanged()
{
    const int row = List->indexOfTopLevelItem(List->currentItem());
    const bool readable = row >= 0 && m_entries.at(row).students >= 0;
    RestoreButton->setEnabled(readable);
    CopyButton->setEnabled(readable);
}

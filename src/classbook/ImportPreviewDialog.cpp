#include "classbook/ImportPreviewDialog.h"

#include "model/ImportPreview.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

ImportPreviewDialog::ImportPreviewDialog(ImportPreview& preview, QWidget* parent) : QDialog(parent), m_preview(preview)
{
    setWindowTitle(QStringLiteral("Importer une liste d'élèves"));
    resize(640, 520);
    auto* layout = new QVBoxLayout(this);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setWordWrap(true);
    layout->addWidget(m_summary);

    layout->addWidget(new QLabel(QStringLiteral("Colonnes de la liste :"), this));
    m_columns = new QTreeWidget(this);
    m_columns->setObjectName(QStringLiteral("columns"));
    m_columns->setHeaderLabels({QStringLiteral("Colonne"), QStringLiteral("Devient")});
    m_columns->setRootIsDecorated(false);
    m_columns->setColumnWidth(0, 220);
    for (const ImportPreview::Line& line : m_preview.columns())
        new QTreeWidgetItem(m_columns, {line.first, line.second});
    layout->addWidget(m_columns, 2);

    layout->addWidget(new QLabel(QStringLiteral("Élèves :"), this));
    m_students = new QTreeWidget(this);
    m_students->setObjectName(QStringLiteral("students"));
    m_students->setHeaderLabels({QStringLiteral("Ligne"), QStringLiteral("Élève"), QStringLiteral("Devient")});
    m_students->setColumnWidth(0, 90);
    m_students->setColumnWidth(1, 200);
    layout->addWidget(m_students, 3);

    m_complete = new QCheckBox(m_preview.completeText(), this);
    m_complete->setObjectName(QStringLiteral("complete"));
    m_complete->setVisible(m_preview.canComplete());
    connect(m_complete, &QCheckBox::toggled, this, [this](bool on) {
        m_preview.setComplete(on);
        refresh();
    });
    layout->addWidget(m_complete);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_import = new QPushButton(QStringLiteral("&Importer"), this);
    m_import->setObjectName(QStringLiteral("import"));
    m_import->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Annuler"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(m_import, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(m_import);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    refresh();
}

void ImportPreviewDialog::refresh()
{
    m_summary->setText(m_preview.summary());
    m_students->clear();
    for (const ImportPreview::Group& group : m_preview.groups()) {
        auto* top = new QTreeWidgetItem(m_students, {group.title});
        top->setFirstColumnSpanned(true);
        for (const ImportPreview::Line& line : group.lines)
            new QTreeWidgetItem(top, {line.first, line.second, line.third});
        top->setExpanded(true);
    }
    m_import->setEnabled(m_preview.canImport());
}

#include "app/RecoveryDialog.h"

#include "widgets/Fonts.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

RecoveryDialog::RecoveryDialog(const QList<recovery::Listed>& copies, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Recuperation"));
    setWindowTitle(QStringLiteral("Récupération"));
    setFont(fonts::msSansSerif(14));
    setFixedSize(600, 330);

    // French typography: a no-break space inside the quotes and before the semicolon.
    Label1 = new QLabel(QStringLiteral("Vire Lan s'est arrêté sans avoir enregistré ces modifications. "
                                       "«\u00a0Récupérer\u00a0» rouvre chacune telle qu'elle était à sa dernière "
                                       "modification\u00a0; rien n'est écrit dans son dossier avant "
                                       "«\u00a0Enregistrer\u00a0»."),
                        this);
    Label1->setGeometry(10, 8, 580, 62);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setGeometry(10, 78, 580, 200);
    ListView1->setRootIsDecorated(false);
    ListView1->setSelectionMode(QAbstractItemView::NoSelection);
    ListView1->setFocusPolicy(Qt::NoFocus);
    ListView1->setHeaderLabels(
        {QStringLiteral("Fichier"), QStringLiteral("Dossier"), QStringLiteral("Dernière modification")});
    ListView1->header()->setStretchLastSection(false);
    ListView1->header()->resizeSection(0, 140);
    ListView1->header()->resizeSection(1, 284);
    ListView1->header()->resizeSection(2, 150);
    for (const recovery::Listed& copy : copies)
        new QTreeWidgetItem(ListView1, {copy.name, copy.folder, copy.changed});

    Button1 = new QPushButton(QStringLiteral("&Récupérer"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(410, 292, 85, 28);
    Button1->setDefault(true);
    Button1->setFocus();
    connect(Button1, &QPushButton::clicked, this, [this] { done(Recover); });

    Button2 = new QPushButton(QStringLiteral("&Ignorer"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(505, 292, 85, 28);
    Button2->setAutoDefault(false);
    connect(Button2, &QPushButton::clicked, this, [this] { done(Ignore); });
}

#include "classbook/MDIChild.h"

#include "classbook/CardPage.h"
#include "companions/Devoirs.h"
#include "companions/Obs.h"
#include "companions/Plan.h"
#include "companions/Planning.h"
#include "widgets/Seams.h"

#include <QClipboard>
#include <QGuiApplication>

// The companion windows a class window shows: its homework dates, the seating plan, the annual planning and the
// appraisal phrases.

void TMDIChild::DatesDevoirs()
{
    TDevoirs* dialog = m_shared.Devoirs;
    if (!dialog)
        return;
    // A date that cannot be read stops here, before the dialog shows: the list and the flag stay as they were.
    dialog->Init(ListeDevoirs());
    seams().execModal(dialog);
    // Every opening counts as a change, whether or not anything was touched.
    asStep(QStringLiteral("les dates des devoirs"), [this, dialog] {
        m_document.change([dialog](ClassContents& contents) { dialog->Result(contents.homework); });
    });
}

// The plan and the planning windows hold those of the class loaded last: they are only shown, never reloaded here.

void TMDIChild::PlanClasse()
{
    if (TPlan* plan = m_shared.Plan)
        plan->showFor(&m_document, m_document.companionsClassFile());
}

void TMDIChild::PlanningCours()
{
    if (TPlanning* planning = m_shared.Planning)
        planning->showFor(&m_document, m_document.companionsClassFile());
}

void TMDIChild::Observations()
{
    TObs* obs = m_shared.Obs;
    seams().execModal(obs);
    QString picked;
    obs->Result(picked);
    if (picked.isEmpty())
        return;
    m_lastChosenPhrase = picked;
    // A phrase picked with "Copier" is copied: it goes to the system clipboard, for the notepad, the text
    // editor or another program (the frame keeps Ctrl+V for its own copy buffer). On the student card it
    // is also written where the teacher writes appraisals, at the caret of the remarks; a text selected
    // there is kept, the phrase goes after it. The remarks changed, so the class is modified; on the class
    // grid nothing in the class changes.
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(picked);
    if (isCardPage() && m_currentCard >= 1 && m_currentCard <= StudentCount) {
        settleCard();
        if (m_card->insertIntoRemarks(picked))
            settleCard(QStringLiteral("l'ajout de l'appréciation"));
    }
}

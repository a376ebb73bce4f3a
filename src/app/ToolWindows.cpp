#include "app/ToolWindows.h"

#include "analysis/Graph.h"
#include "analysis/Graph2.h"
#include "analysis/Rub.h"
#include "app/AboutBox.h"
#include "companions/Devoirs.h"
#include "companions/Obs.h"
#include "companions/Plan.h"
#include "companions/Planning.h"
#include "model/NotesFile.h"
#include "model/PhotoCache.h"
#include "tools/Blocnotes.h"
#include "tools/Calendrier.h"
#include "tools/Eurof.h"
#include "tools/Horloge.h"
#include "tools/Pocket.h"
#include "tools/Texte.h"

#include <QStandardPaths>

template <typename Window> Window* ToolWindows::built(Window*& window) const
{
    if (!window) {
        auto made = std::make_unique<Window>();
        window = made.get();
        m_windows.push_back(std::move(made));
    }
    return window;
}

ToolWindows::ToolWindows()
{
    // The documents of the plan and the planning go with every class window.
    built(m_planning);
    built(m_plan);
    // The photos as the card draws them, 38 KB for a phone photo: those of two full classes and more.
    m_photos = std::make_unique<PhotoCache>(4LL * 1024 * 1024);
}

void ToolWindows::keepPhotosOnDisk()
{
    // Named once the application's name is set: the folder is the program's own.
    m_photos->keepOnDisk(QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/photos"));
}

ToolWindows::~ToolWindows()
{
    m_photos.reset();
    while (!m_windows.empty())
        m_windows.pop_back();
}

TAboutBox* ToolWindows::aboutBox() const
{
    return built(m_aboutBox);
}

TCalendrier* ToolWindows::calendrier() const
{
    return built(m_calendrier);
}

TEurof* ToolWindows::eurof() const
{
    return built(m_eurof);
}

THorloge* ToolWindows::horloge() const
{
    return built(m_horloge);
}

TPocket* ToolWindows::pocket() const
{
    return built(m_pocket);
}

TRub* ToolWindows::rub() const
{
    return built(m_rub);
}

TTexte* ToolWindows::texte() const
{
    return built(m_texte);
}

TGraph* ToolWindows::graph() const
{
    return built(m_graph);
}

TGraph2* ToolWindows::graph2() const
{
    return built(m_graph2);
}

TDevoirs* ToolWindows::devoirs() const
{
    return built(m_devoirs);
}

TBlocnotes* ToolWindows::blocnotes() const
{
    if (!m_blocnotes) {
        built(m_blocnotes);
        if (m_notes) {
            m_blocnotes->setText(*m_notes);
            m_blocnotes->setModified(false);
            m_notes.reset();
        }
        if (m_notesBuilt)
            m_notesBuilt(m_blocnotes);
    }
    return m_blocnotes;
}

void ToolWindows::whenNotesBuilt(std::function<void(TBlocnotes*)> built)
{
    m_notesBuilt = std::move(built);
    if (m_blocnotes && m_notesBuilt)
        m_notesBuilt(m_blocnotes);
}

void ToolWindows::loadNotes(const QString& fileName)
{
    if (m_blocnotes) {
        m_blocnotes->Charge(fileName);
        return;
    }
    if (std::optional<QString> loaded = notesfile::load(notesfile::repairName(fileName)))
        m_notes = std::move(loaded);
}

bool ToolWindows::notesModified() const
{
    return m_blocnotes && m_blocnotes->isModified();
}

void ToolWindows::saveNotes(const QString& fileName)
{
    if (m_blocnotes)
        m_blocnotes->Sauve(fileName);
}

TObs* ToolWindows::obs() const
{
    if (!m_obs) {
        built(m_obs);
        if (m_phrases) {
            m_obs->setList(*m_phrases);
            m_phrases.reset();
        }
        if (m_phrasesBuilt)
            m_phrasesBuilt(m_obs);
    }
    return m_obs;
}

void ToolWindows::whenPhrasesBuilt(std::function<void(TObs*)> built)
{
    m_phrasesBuilt = std::move(built);
    if (m_obs && m_phrasesBuilt)
        m_phrasesBuilt(m_obs);
}

void ToolWindows::loadPhrases()
{
    if (m_obs)
        m_obs->Charge();
    else
        m_phrases = TObs::read();
}

bool ToolWindows::phrasesModified() const
{
    return m_obs && m_obs->isModified();
}

void ToolWindows::savePhrases()
{
    if (m_obs)
        m_obs->Sauve();
}

SharedWindows ToolWindows::shared() const
{
    return {.Rub = OnDemand<TRub>([this] { return rub(); }),
            .Texte = OnDemand<TTexte>([this] { return texte(); }),
            .Graph = OnDemand<TGraph>([this] { return graph(); }),
            .Graph2 = OnDemand<TGraph2>([this] { return graph2(); }),
            .Devoirs = OnDemand<TDevoirs>([this] { return devoirs(); }),
            .Obs = OnDemand<TObs>([this] { return obs(); }),
            .Planning = planning(),
            .Plan = plan(),
            .Photos = photos(),
            .Recovery = m_recovery};
}

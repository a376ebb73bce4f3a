#pragma once

#include "classbook/SharedWindows.h"
#include "model/PhraseList.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class PhotoCache;
class QDialog;
class RecoveryStore;
class TAboutBox;
class TBlocnotes;
class TCalendrier;
class TDevoirs;
class TEurof;
class TGraph;
class TGraph2;
class THorloge;
class TObs;
class TPlan;
class TPlanning;
class TPocket;
class TRub;
class TTexte;

// The single instance of every tool window, owned by the main frame (or by a test of class windows that has no
// frame). The plan and the planning, whose documents every class window shares, are built with it, in the start-up
// order; every other window is built the first time its accessor is called, hidden, exactly as it would have been
// at start-up. The seating plan and the planning own
// their name dialogs. Destroyed with their owner, last built first.
class ToolWindows
{
public:
    ToolWindows();
    ~ToolWindows();
    ToolWindows(const ToolWindows&) = delete;
    ToolWindows& operator=(const ToolWindows&) = delete;

    TAboutBox* aboutBox() const;
    TCalendrier* calendrier() const;
    TEurof* eurof() const;
    THorloge* horloge() const;
    TPocket* pocket() const;
    TBlocnotes* blocnotes() const;
    TRub* rub() const;
    TTexte* texte() const;
    TGraph* graph() const;
    TGraph2* graph2() const;
    TDevoirs* devoirs() const;
    TObs* obs() const;
    TPlanning* planning() const { return m_planning; }
    TPlan* plan() const { return m_plan; }
    PhotoCache* photos() const { return m_photos.get(); }
    // The photos kept on disk too, in the user's cache folder ("~/.cache/Vire Lan/photos"), from one run to the
    // next, and the classes' photos stored there ahead; the running program does it at its start.
    void keepPhotosOnDisk();

    // The windows a class window uses, as the frame hands them to each class window it creates.
    SharedWindows shared() const;
    // Where the class windows created from now on keep their recovery copies (the frame's store).
    void setRecovery(RecoveryStore* store) { m_recovery = store; }

    // The notes file, read for the notepad (which shows it when first built) and written back from it, as the
    // notepad's Charge and Sauve do; a notepad never built has nothing changed.
    void loadNotes(const QString& fileName);
    bool notesModified() const;
    void saveNotes(const QString& fileName);
    // The same for the phrases of the current folder.
    void loadPhrases();
    bool phrasesModified() const;
    void savePhrases();
    // Called with the notepad, and with the phrases window, once built: at once for one built already, otherwise
    // when it is first needed (nothing changes in a window not built yet).
    void whenNotesBuilt(std::function<void(TBlocnotes*)> built);
    void whenPhrasesBuilt(std::function<void(TObs*)> built);

private:
    template <typename Window> Window* built(Window*& window) const;

    // Every window built so far, in the order it was built.
    mutable std::vector<std::unique_ptr<QDialog>> m_windows;
    mutable TAboutBox* m_aboutBox = nullptr;
    mutable TCalendrier* m_calendrier = nullptr;
    mutable TEurof* m_eurof = nullptr;
    mutable THorloge* m_horloge = nullptr;
    mutable TPocket* m_pocket = nullptr;
    mutable TBlocnotes* m_blocnotes = nullptr;
    // The notes read before the notepad was built, which it shows when it is.
    mutable std::optional<QString> m_notes;
    mutable TRub* m_rub = nullptr;
    mutable TTexte* m_texte = nullptr;
    mutable TGraph* m_graph = nullptr;
    mutable TGraph2* m_graph2 = nullptr;
    mutable TDevoirs* m_devoirs = nullptr;
    mutable TObs* m_obs = nullptr;
    mutable std::optional<PhraseList> m_phrases;
    TPlanning* m_planning = nullptr;
    TPlan* m_plan = nullptr;
    std::unique_ptr<PhotoCache> m_photos;
    RecoveryStore* m_recovery = nullptr;
    std::function<void(TBlocnotes*)> m_notesBuilt;
    std::function<void(TObs*)> m_phrasesBuilt;
};

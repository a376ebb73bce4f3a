#pragma once

#include "classbook/SharedWindows.h"

#include <memory>

class PhotoCache;
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

// The single instance of every tool window, built hidden in the start-up order and destroyed, last built first,
// with its owner: the main frame, or a test of class windows that has no frame. The seating plan and the planning
// own their name dialogs. Each window is reached through its accessor, so that one may later be built only when
// first needed.
class ToolWindows
{
public:
    ToolWindows();
    ~ToolWindows();
    ToolWindows(const ToolWindows&) = delete;
    ToolWindows& operator=(const ToolWindows&) = delete;

    TAboutBox* aboutBox() const { return m_aboutBox.get(); }
    TCalendrier* calendrier() const { return m_calendrier.get(); }
    TEurof* eurof() const { return m_eurof.get(); }
    THorloge* horloge() const { return m_horloge.get(); }
    TPocket* pocket() const { return m_pocket.get(); }
    TBlocnotes* blocnotes() const { return m_blocnotes.get(); }
    TRub* rub() const { return m_rub.get(); }
    TTexte* texte() const { return m_texte.get(); }
    TGraph* graph() const { return m_graph.get(); }
    TGraph2* graph2() const { return m_graph2.get(); }
    TDevoirs* devoirs() const { return m_devoirs.get(); }
    TObs* obs() const { return m_obs.get(); }
    TPlanning* planning() const { return m_planning.get(); }
    TPlan* plan() const { return m_plan.get(); }
    PhotoCache* photos() const { return m_photos.get(); }

    // The windows a class window uses, as the frame hands them to each class window it creates.
    SharedWindows shared() const;
    // Where the class windows created from now on keep their recovery copies (the frame's store).
    void setRecovery(RecoveryStore* store) { m_recovery = store; }

private:
    // Built in this order.
    std::unique_ptr<TAboutBox> m_aboutBox;
    std::unique_ptr<TCalendrier> m_calendrier;
    std::unique_ptr<TEurof> m_eurof;
    std::unique_ptr<THorloge> m_horloge;
    std::unique_ptr<TPocket> m_pocket;
    std::unique_ptr<TBlocnotes> m_blocnotes;
    std::unique_ptr<TRub> m_rub;
    std::unique_ptr<TTexte> m_texte;
    std::unique_ptr<TGraph> m_graph;
    std::unique_ptr<TGraph2> m_graph2;
    std::unique_ptr<TDevoirs> m_devoirs;
    std::unique_ptr<TObs> m_obs;
    std::unique_ptr<TPlanning> m_planning;
    std::unique_ptr<TPlan> m_plan;
    std::unique_ptr<PhotoCache> m_photos;
    RecoveryStore* m_recovery = nullptr;
};

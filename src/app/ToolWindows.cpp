#include "app/ToolWindows.h"

#include "analysis/Graph.h"
#include "analysis/Graph2.h"
#include "analysis/Rub.h"
#include "app/AboutBox.h"
#include "companions/Devoirs.h"
#include "companions/Obs.h"
#include "companions/Plan.h"
#include "companions/Planning.h"
#include "model/PhotoCache.h"
#include "tools/Blocnotes.h"
#include "tools/Calendrier.h"
#include "tools/Eurof.h"
#include "tools/Horloge.h"
#include "tools/Pocket.h"
#include "tools/Texte.h"

// The planning builds its subject name dialog and the plan its desk name dialog, each right after itself.
ToolWindows::ToolWindows()
    : m_aboutBox(std::make_unique<TAboutBox>()), m_calendrier(std::make_unique<TCalendrier>()),
      m_eurof(std::make_unique<TEurof>()), m_horloge(std::make_unique<THorloge>()),
      m_pocket(std::make_unique<TPocket>()), m_blocnotes(std::make_unique<TBlocnotes>()),
      m_rub(std::make_unique<TRub>()), m_texte(std::make_unique<TTexte>()), m_graph(std::make_unique<TGraph>()),
      m_graph2(std::make_unique<TGraph2>()), m_devoirs(std::make_unique<TDevoirs>()), m_obs(std::make_unique<TObs>()),
      m_planning(std::make_unique<TPlanning>()), m_plan(std::make_unique<TPlan>()),
      // The photos as the card draws them, 38 KB for a phone photo: those of two full classes and more.
      m_photos(std::make_unique<PhotoCache>(4LL * 1024 * 1024))
{
}

ToolWindows::~ToolWindows() = default;

SharedWindows ToolWindows::shared() const
{
    return {.Rub = rub(),
            .Texte = texte(),
            .Graph = graph(),
            .Graph2 = graph2(),
            .Devoirs = devoirs(),
            .Obs = obs(),
            .Planning = planning(),
            .Plan = plan(),
            .Photos = photos(),
            .Recovery = m_recovery};
}

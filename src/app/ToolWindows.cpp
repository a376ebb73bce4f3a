#include "app/ToolWindows.h"

#include "analysis/Graph.h"
#include "analysis/Graph2.h"
#include "analysis/Rub.h"
#include "app/AboutBox.h"
#include "companions/Devoirs.h"
#include "companions/Obs.h"
#include "companions/Plan.h"
#include "companions/Planning.h"
#include "companions/PlnEdit.h"
#include "companions/PrjEdit.h"
#include "model/PhotoCache.h"
#include "model/PhotoFit.h"
#include "tools/Blocnotes.h"
#include "tools/Calendrier.h"
#include "tools/Eurof.h"
#include "tools/Horloge.h"
#include "tools/Pocket.h"
#include "tools/Texte.h"

namespace {
ToolWindows g_tools;
}

ToolWindows& tools()
{
    return g_tools;
}

void createToolWindows()
{
    ToolWindows& t = g_tools;
    if (t.AboutBox)
        return;
    t.AboutBox = new TAboutBox;
    t.Calendrier = new TCalendrier;
    t.Eurof = new TEurof;
    t.Horloge = new THorloge;
    t.Pocket = new TPocket;
    t.Blocnotes = new TBlocnotes;
    t.Rub = new TRub;
    t.Texte = new TTexte;
    t.Graph = new TGraph;
    t.Graph2 = new TGraph2;
    t.Devoirs = new TDevoirs;
    t.Obs = new TObs;
    t.Planning = new TPlanning;
    t.PrjEdit = new TPrjEdit;
    t.Plan = new TPlan;
    t.PlnEdit = new TPlnEdit;
    t.Planning->setNameDialog(t.PrjEdit);
    t.Plan->setNameDialog(t.PlnEdit);
    // The photos as the card draws them, 38 KB for a phone photo: those of two full classes and more.
    t.Photos = new PhotoCache(4LL * 1024 * 1024);
}

void destroyToolWindows()
{
    ToolWindows& t = g_tools;
    delete t.Photos;
    delete t.PlnEdit;
    delete t.Plan;
    delete t.PrjEdit;
    delete t.Planning;
    delete t.Obs;
    delete t.Devoirs;
    delete t.Graph2;
    delete t.Graph;
    delete t.Texte;
    delete t.Rub;
    delete t.Blocnotes;
    delete t.Pocket;
    delete t.Horloge;
    delete t.Eurof;
    delete t.Calendrier;
    delete t.AboutBox;
    t = ToolWindows{};
}

SharedWindows sharedWindows()
{
    return g_tools;
}

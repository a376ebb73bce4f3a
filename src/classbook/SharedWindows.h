#pragma once

#include "core/OnDemand.h"

class PhotoCache;
class RecoveryStore;
class TDevoirs;
class TGraph;
class TGraph2;
class TObs;
class TPlan;
class TPlanning;
class TRub;
class TTexte;

// The single windows every class window fills, shows and reads back: the rubric dialog, the text editor,
// the two charts and the companion windows. The main frame owns them and hands them to each class window it
// creates; they outlive every class window. The dialogs a class window only shows are made when first used.
struct SharedWindows
{
    OnDemand<TRub> Rub;
    OnDemand<TTexte> Texte;
    OnDemand<TGraph> Graph;
    OnDemand<TGraph2> Graph2;
    OnDemand<TDevoirs> Devoirs;
    OnDemand<TObs> Obs;
    TPlanning* Planning = nullptr;
    TPlan* Plan = nullptr;
    // The cards' photos decoded, kept and read ahead for every class window alike.
    PhotoCache* Photos = nullptr;
    // Where each class keeps its recovery copy while it has changes not saved; none in a run that keeps none.
    RecoveryStore* Recovery = nullptr;
};

#pragma once

class TAboutBox;
class TCalendrier;
class TEurof;
class THorloge;
class TPocket;
class TBlocnotes;
class TRub;
class TTexte;
class TGraph;
class TGraph2;
class TDevoirs;
class TObs;
class TPlanning;
class TPrjEdit;
class TPlan;
class TPlnEdit;

// The single shared instance of every tool window, created once at start-up, hidden, and kept for the run.
struct ToolWindows
{
    TAboutBox* AboutBox = nullptr;
    TCalendrier* Calendrier = nullptr;
    TEurof* Eurof = nullptr;
    THorloge* Horloge = nullptr;
    TPocket* Pocket = nullptr;
    TBlocnotes* Blocnotes = nullptr;
    TRub* Rub = nullptr;
    TTexte* Texte = nullptr;
    TGraph* Graph = nullptr;
    TGraph2* Graph2 = nullptr;
    TDevoirs* Devoirs = nullptr;
    TObs* Obs = nullptr;
    TPlanning* Planning = nullptr;
    TPrjEdit* PrjEdit = nullptr;
    TPlan* Plan = nullptr;
    TPlnEdit* PlnEdit = nullptr;
};

ToolWindows& tools();
// Creates every tool window in the start-up order; each exactly once.
void createToolWindows();
void destroyToolWindows();

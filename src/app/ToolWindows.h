#pragma once

#include "classbook/SharedWindows.h"

class TAboutBox;
class TCalendrier;
class TEurof;
class THorloge;
class TPocket;
class TBlocnotes;
class TPrjEdit;
class TPlnEdit;

// The single shared instance of every tool window, created once at start-up, hidden, and kept for the run:
// those a class window uses, and the frame's own.
struct ToolWindows : SharedWindows
{
    TAboutBox* AboutBox = nullptr;
    TCalendrier* Calendrier = nullptr;
    TEurof* Eurof = nullptr;
    THorloge* Horloge = nullptr;
    TPocket* Pocket = nullptr;
    TBlocnotes* Blocnotes = nullptr;
    TPrjEdit* PrjEdit = nullptr;
    TPlnEdit* PlnEdit = nullptr;
};

ToolWindows& tools();
// Creates every tool window in the start-up order; each exactly once.
void createToolWindows();
void destroyToolWindows();
// The tool windows a class window uses, as the frame hands them to each class window it creates.
SharedWindows sharedWindows();

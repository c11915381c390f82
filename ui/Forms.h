#pragma once
// The ten windows of a run, created once in their fixed order with the main
// window first (its creation runs FormCreate, before any other window exists).
// The secondary windows are children of the main window and end with it.

#include "dbMain.h"

void CreateForms(Prompts& prompts, const StartOptions& options);
void DestroyForms();

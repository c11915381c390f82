#include "Forms.h"

#include "dbElement.h"
#include "dbFind.h"
#include "dbHeight.h"
#include "dbHtml.h"
#include "dbItem.h"
#include "dbListUp.h"
#include "dbSort.h"
#include "dbVarsion.h"
#include "dbWidth.h"

void CreateForms(Prompts& prompts, const StartOptions& options) {
    foMain = new TfoMain(prompts, options);
    foVarsion = new TfoVarsion(foMain);
    foItems = new TfoItems(foMain);
    foHeight = new TfoHeight(foMain);
    foSort = new TfoSort(foMain);
    foFind = new TfoFind(*foMain, prompts);
    foWidth = new TfoWidth(foMain);
    foListUp = new TfoListUp(*foMain, prompts);
    foHtml = new TfoHtml(foMain);
    foElement = new TfoElement(*foMain, prompts);
}

void DestroyForms() {
    delete foMain;
    foMain = nullptr;
    foVarsion = nullptr;
    foItems = nullptr;
    foHeight = nullptr;
    foSort = nullptr;
    foFind = nullptr;
    foWidth = nullptr;
    foListUp = nullptr;
    foHtml = nullptr;
    foElement = nullptr;
}

#include "devices/DmClausula.h"

namespace {
TdmClausula* g_instancia = nullptr;
}

TdmClausula::TdmClausula(QObject* parent) : QObject(parent) { g_instancia = this; }

TdmClausula::~TdmClausula() {
    if (g_instancia == this) g_instancia = nullptr;
}

TdmClausula* TdmClausula::instancia() { return g_instancia; }

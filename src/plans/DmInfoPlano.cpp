#include "plans/DmInfoPlano.h"

namespace {
TdmInfoPlano* g_instancia = nullptr;
}

TdmInfoPlano::TdmInfoPlano(QObject* parent) : QObject(parent) { g_instancia = this; }

TdmInfoPlano::~TdmInfoPlano() {
    if (g_instancia == this) g_instancia = nullptr;
}

TdmInfoPlano* TdmInfoPlano::instancia() { return g_instancia; }

#include "plans/DmPlano.h"

namespace {
TDmPlano* g_instancia = nullptr;
}

TDmPlano::TDmPlano(QObject* parent) : QObject(parent) { g_instancia = this; }

TDmPlano::~TDmPlano() {
    if (g_instancia == this) g_instancia = nullptr;
}

TDmPlano* TDmPlano::instancia() { return g_instancia; }

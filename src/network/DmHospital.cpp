#include "network/DmHospital.h"

namespace {
TDmHospital* g_instancia = nullptr;
}

TDmHospital::TDmHospital(QObject* parent) : QObject(parent) { g_instancia = this; }

TDmHospital::~TDmHospital() {
    if (g_instancia == this) g_instancia = nullptr;
}

TDmHospital* TDmHospital::instancia() { return g_instancia; }

#pragma once
#include "db/Erro.h"
#include "reports/FonteDados.h"
#include "request/DmExportacao.h"

// The shared error list of the export bookkeeping module (created at start).
inline const TErrosCarga& ErrosCargaCompartilhados() {
    TDmExportacao* dm = DmExportacao();
    if (!dm) throw ErroQev(QStringLiteral("A lista de erros não está disponível."));
    return dm->cdsErrosCarga();
}

// The rows of the shared error list, in their order, under its field names.
class FonteErrosCarga : public FonteDados {
public:
    explicit FonteErrosCarga(const TErrosCarga& erros) : m_erros(erros) {}
    void Abre() override {
        defineColunas(TErrosCarga::Campos());
        m_pos = 0;
    }
    bool Le(QVariantList& linha) override {
        if (m_pos >= m_erros.RecordCount()) return false;
        const QStringList& campos = TErrosCarga::Campos();
        linha.resize(campos.size());
        for (int c = 0; c < campos.size(); ++c) linha[c] = m_erros.valor(m_pos, campos[c]);
        ++m_pos;
        return true;
    }

private:
    const TErrosCarga& m_erros;
    int m_pos = 0;
};

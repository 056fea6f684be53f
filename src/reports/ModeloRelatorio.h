#pragma once
#include <QSet>

#include "reports/Relatorio.h"

// The names of the public bodies printed in every report header.
namespace CabecalhoRelatorio {
QString Ministerio();
QString Diretoria();
// The system line: short name, title and version ("QEV - ... - v.03.01.05").
QString LinhaSistema();
}  // namespace CabecalhoRelatorio

// Template of every report: A4, a page header (title, logo, the public bodies, the
// system line, issue date, page and time), the current operator's band under it, an
// empty column header and an empty detail. Reports fill the column header and the
// detail, and call AlternaCor before each detail for alternating row shading.
class TqrpModeloRelatorio : public Relatorio {
    Q_OBJECT
public:
    // Light grey of the shaded rows.
    static QColor CorAlternada() { return QColor(0xE9, 0xE9, 0xE9); }

    explicit TqrpModeloRelatorio(bool paisagem = false, bool comOperadora = true,
                                 QObject* pai = nullptr);

    Banda* qrbPagCab;
    Banda* qrcOperadora;  // nullptr without the operator band
    Banda* qrbColunaCab;
    Banda* qrbDetalhe;

    // Switches the band's background between white and light grey (grey first).
    void AlternaCor(Banda& banda);

protected:
    void AntesDeGerar() override;

private:
    void montaCabecalho();
    void montaOperadora();
    QSet<Banda*> m_alternadas;
};

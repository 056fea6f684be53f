#pragma once
#include <QString>
#include <QVariant>

class Resultado;

// Small helpers shared by the reports.
namespace UtilRelatorios {

// "dd/MM/yyyy" of a stored date ("yyyy-MM-dd", also with a time); with the time
// ("dd/MM/yyyy HH:mm:ss") when it has one other than midnight and `comHora`.
QString Data(const QVariant& valor, bool comHora = false);
// A count with thousands separated as in Portuguese ("1.234").
QString Contagem(qlonglong n);
// Whether a value is null or only blanks.
bool Vazio(const QVariant& valor);
// The description of a code in a two-column code table (code, description); empty
// when the code is empty or absent.
QString Descricao(const Resultado& tabela, const QVariant& codigo);

// "municipality - state"; empty when both are.
QString MunicipioUf(const QVariant& municipio, const QVariant& uf);

// The CNPJ/CPF mask of a list: 14 characters take the CNPJ mask, 11 the CPF mask, and
// any other length the mask of the row before (the first row starts from the CNPJ's).
class MascaraDocumento {
public:
    void Reinicia() { m_cnpj = true; }
    QString Aplica(const QString& documento);

private:
    bool m_cnpj = true;
};

}  // namespace UtilRelatorios

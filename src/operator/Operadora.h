#pragma once
#include <QString>

// The current operator: the row of OPERADORAS the system works for. Every query of
// operator data filters on its code.
struct TOperadora {
    QString CdOper;         // CD_OPER: six digits
    QString RazaoSocial;    // NM_RAZAO_SOCIAL
    QString Cnpj;           // CD_CNPJ: 14 digits
    int Regiao = 0;         // CD_REGIAO_ATUACAO: 1 to 6 (0 when not set)
    int Classificacao = 0;  // CD_GRUPO_CLASSIFICACAO (0 when not set)

    // "12345-6" for 123456; empty for an empty code.
    QString CodigoFormatado() const;
    // "11.222.333/0001-81"; empty for an empty CNPJ.
    QString CnpjFormatado() const;
};

// The current-operator object of the run (empty until the first load).
const TOperadora& OperadoraAtual();

// Rebuilds the current-operator object from the current row of the operators table.
void CarregaOperadoraAtual();

// Whether OPERADORAS holds a row with that code.
bool OperadoraExiste(const QString& cdOper);

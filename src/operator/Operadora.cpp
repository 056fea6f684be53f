#include "operator/Operadora.h"

#include "db/DmConexao.h"
#include "operator/DmZemlo.h"

namespace {
TOperadora& atual() {
    static TOperadora operadora;
    return operadora;
}
}  // namespace

QString TOperadora::CodigoFormatado() const {
    return CdOper.isEmpty() ? QString() : CdOper.left(5) + QLatin1Char('-') + CdOper.mid(5, 1);
}

QString TOperadora::CnpjFormatado() const {
    if (Cnpj.isEmpty()) return QString();
    return Cnpj.mid(0, 2) + QLatin1Char('.') + Cnpj.mid(2, 3) + QLatin1Char('.') + Cnpj.mid(5, 3) +
           QLatin1Char('/') + Cnpj.mid(8, 4) + QLatin1Char('-') + Cnpj.mid(12, 2);
}

const TOperadora& OperadoraAtual() { return atual(); }

void CarregaOperadoraAtual() {
    const TDMZemlo* z = DMZemlo();
    TOperadora nova;
    nova.CdOper = z->CampoGravado(QStringLiteral("CD_OPER")).toString();
    nova.RazaoSocial = z->CampoGravado(QStringLiteral("NM_RAZAO_SOCIAL")).toString();
    nova.Cnpj = z->CampoGravado(QStringLiteral("CD_CNPJ")).toString();
    nova.Regiao = z->CampoGravado(QStringLiteral("CD_REGIAO_ATUACAO")).toInt();
    nova.Classificacao = z->CampoGravado(QStringLiteral("CD_GRUPO_CLASSIFICACAO")).toInt();
    atual() = nova;
}

bool OperadoraExiste(const QString& cdOper) {
    return !DmConexao()
                ->AbreConsulta(QStringLiteral("SELECT 1 FROM OPERADORAS WHERE CD_OPER = ?"),
                               {cdOper})
                .IsEmpty();
}

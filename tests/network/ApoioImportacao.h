#pragma once
// Lines of the establishment import file, written as another program would write them
// (Windows-1252, fixed width), and the modules an import needs.
#include <QFile>

#include "ApoioRede.h"
#include "common/Identificadores.h"
#include "request/DmExportacao.h"
#include "common/Win1252.h"

namespace ApoioRede {

// The fields of one record, each cut or filled with spaces to its width.
struct LinhaArquivo {
    QString cnpj = QString::fromLatin1(kCnpj);
    QString nome = QStringLiteral("HOSPITAL SÃO JOSÉ");
    QString relacao = QStringLiteral("1000");
    QString municipio = QStringLiteral("3550308");
    QString tipo;
    QString contrato;  // DDMMYYYY
    QString cnes = QString::fromLatin1(kCnes);
    QString vinculo = QStringLiteral("01012020");
    QString classif = QStringLiteral("1");
    QString intermed = QStringLiteral("000000");
    QString disp = QStringLiteral("T");
    QString urgencia = QStringLiteral("S");

    // A contracted establishment (direct), contracting on 02/03/2015.
    LinhaArquivo& contratualizado() {
        relacao = QStringLiteral("2000");
        tipo = QStringLiteral("D");
        contrato = QStringLiteral("02032015");
        return *this;
    }
    QString texto() const {
        const auto f = [](const QString& s, int n) { return CompletaEspacos(s, n).left(n); };
        return f(cnpj, 14) + f(nome, 60) + f(relacao, 4) + f(municipio, 7) + f(tipo, 1) +
               f(contrato, 8) + f(cnes, 7) + f(vinculo, 8) + f(classif, 1) + f(intermed, 6) +
               f(disp, 1) + f(urgencia, 1);
    }
    QByteArray bytes() const {
        ConversorWin1252 c;
        const auto b = c.codifica(texto());
        if (!b) throw ErroQev(QStringLiteral("texto sem Windows-1252"));
        return *b;
    }
};

// Establishment `i` of a generated file: valid, its own CNPJ and CNES.
inline LinhaArquivo linhaValida(int i) {
    LinhaArquivo l;
    l.cnpj = CompletaDigitosCnpj(QStringLiteral("%1").arg(30000000 + i, 8, 10, QLatin1Char('0')) +
                                 QStringLiteral("0001"));
    l.cnes = CompletaDigitoCnes(QStringLiteral("%1").arg(200000 + i, 6, 10, QLatin1Char('0')));
    l.nome = QStringLiteral("CLÍNICA Nº %1 D'ÁVILA").arg(i);
    return l;
}

inline void gravaArquivo(const QString& caminho, const QByteArray& conteudo) {
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(conteudo), conteudo.size());
}

// The lines joined with CR LF (the last one too).
inline QByteArray arquivo(const QList<QByteArray>& linhas) {
    QByteArray b;
    for (const QByteArray& l : linhas) b += l + "\r\n";
    return b;
}

// The base fixture plus the error list module.
class BaseImportacao : public Base {
protected:
    std::unique_ptr<TDmExportacao> exportacao;
    void inicia(const QString& sql = QString()) {
        Base::inicia(sql);
        exportacao = std::make_unique<TDmExportacao>();
    }
    void TearDown() override {
        exportacao.reset();
        Base::TearDown();
    }
    // Rows of the error list as "line|field|message".
    QStringList erros() const {
        QStringList r;
        for (const LinhaErroCarga& l : exportacao->cdsErrosCarga().linhas())
            r << QStringLiteral("%1|%2|%3").arg(l.linhaArquivo).arg(l.NomeCampo, l.NomeErro);
        return r;
    }
};

}  // namespace ApoioRede

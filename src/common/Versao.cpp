#include "common/Versao.h"

#include <QStringList>

#include "ConfiguracaoBuild.h"

QString FormataVersao(int maior, int menor, int release, bool comPontos) {
    QStringList partes;
    for (int n : {maior, menor, release}) partes << QString::number(n + 100).right(2);
    return partes.join(comPontos ? QStringLiteral(".") : QString());
}

QString VersaoSistema(bool comPontos) {
    return FormataVersao(Config::VersaoMaior, Config::VersaoMenor, Config::VersaoRelease,
                         comPontos);
}

#pragma once
// The modules the plan screen needs, in their start-up order, on the generated
// database (the first run generates it); the program's folder is the database's, and
// links to pages and spreadsheets open nothing.
#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "GeraBaseEstab.h"
#include "db/DmConexao.h"
#include "db/DmLookup.h"
#include "db/DmMunicipio.h"
#include "network/DmHospital.h"
#include "operator/DmZemlo.h"
#include "plans/DmInfoPlano.h"
#include "plans/DmPlano.h"
#include "platform/Plataforma.h"

struct ModulosPlanos {
    explicit ModulosPlanos(const QString& pasta) {
        const QString caminho = QDir(pasta).filePath(QStringLiteral("QEV.mdb"));
        if (!QFileInfo::exists(caminho)) {
            std::printf("gerando %s com 100000 estabelecimentos e 2000 planos...\n", qPrintable(caminho));
            GeraBaseEstab::gera(pasta, 100000, 2000);
        }
        PastaPrograma::define(pasta);
        Lancador::define([](Lancador::Tipo, const QString&) { return true; });
        conexao.banco().abre(caminho, TDmConexao::SenhaBanco());
        zemlo = std::make_unique<TDMZemlo>();
        lookup = std::make_unique<TdmLookup>();
        dmPlano = std::make_unique<TDmPlano>();
        hospital = std::make_unique<TDmHospital>();
        municipios = std::make_unique<TDmMunicipio>();
        dm = std::make_unique<TdmInfoPlano>();
    }
    ~ModulosPlanos() {
        dm.reset();
        municipios.reset();
        hospital.reset();
        dmPlano.reset();
        lookup.reset();
        zemlo.reset();
    }
    TDmConexao conexao;
    std::unique_ptr<TDMZemlo> zemlo;
    std::unique_ptr<TdmLookup> lookup;
    std::unique_ptr<TDmPlano> dmPlano;
    std::unique_ptr<TDmHospital> hospital;
    std::unique_ptr<TDmMunicipio> municipios;
    std::unique_ptr<TdmInfoPlano> dm;
};

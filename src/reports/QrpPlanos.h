#pragma once
#include <functional>
#include <memory>
#include <optional>

#include "common/FrmModBase.h"
#include "reports/ModeloRelatorio.h"

class Banco;
class QCheckBox;
class QLabel;
class QRadioButton;

// Sections of the detailed plan report besides the general data.
struct OpcoesRelatorioPlanos {
    bool livreEscolha = true;
    bool instrumentoJuridico = true;
    bool notasTecnicas = true;
    bool areaAtuacao = true;
    bool servicosAdicionais = true;
    bool taxaRegistro = true;
    bool alguma() const {
        return livreEscolha || instrumentoJuridico || notasTecnicas || areaAtuacao ||
               servicosAdicionais || taxaRegistro;
    }
};

// Rows of a plan that the plan screen holds and has not saved yet: when given, a
// section prints them instead of reading the database. Each source must have the
// columns named below.
struct DadosPlanoAbertos {
    using Fonte = std::function<std::unique_ptr<FonteDados>()>;
    Fonte taxas;          // NR_DOCUMENTO_TAXA
    Fonte coberturas;     // DE_TIPO_COBERTURA
    Fonte servicos;       // NM_SERVICO (name of the service), DE_SERV_OPCIONAL (the plan's text)
    Fonte dispositivos;   // DE_TIPO_CLAUSULA, NR_ORDEM_EXIBICAO, DT_PUBLICACAO_FIM,
                          // CD_IDENTIFICACAO_TEXTO, DE_CLAUSULA_OPERADORA, TX_CLAUSULA_OPERADORA
    Fonte notas;          // NR_PROTOCOLO_NOTA_TECNICA, NM_ARQUIVO_NOTA_TECNICA, DT_PROTOCOLO
    Fonte area;           // CD_UF, NOME (state or municipality name)
};

// The detailed plan report: each plan of the current operator (or one) with its general
// data and the sections chosen. Without sections the plans follow each other; with any,
// each plan starts a page and its name heads every page of it.
class TqrpPlanos : public TqrpModeloRelatorio {
    Q_OBJECT
public:
    TqrpPlanos(Banco& banco, const QString& cdOper, const std::optional<int>& seqPlano,
               const OpcoesRelatorioPlanos& opcoes, const DadosPlanoAbertos& abertos = {},
               QObject* pai = nullptr);

    // The texts of the general data.
    static QString FormacaoPreco(const QVariant& v);        // 1, 2, 3
    static QString OpcaoPosEstabelecido(const QVariant& v); // C, R
    static QString PadraoAcomodacao(const QVariant& v);     // I, C
    static QString ParticipacaoFinanceira(const QVariant& v);  // S, C
    static QString SimNao(const QVariant& v);               // S, N

private:
    Banda* linhaGeral(Banda* detalhe, const QString& nome, const QString& rotulo);
    void secao(const QString& titulo, const DadosPlanoAbertos::Fonte& aberta,
               std::function<std::unique_ptr<FonteDados>()> doBanco, Banda*& detalhe,
               qreal alturaDetalhe, const QString& subtitulo = QString());
};

// "Relatório de Planos": the plan (or "TODOS"), the sections and where it goes (screen
// or printer).
class TfrmDlgRelatorioPlanos : public TfrmModDialogo {
    Q_OBJECT
public:
    explicit TfrmDlgRelatorioPlanos(const std::optional<int>& seqPlano = std::nullopt,
                                    DadosPlanoAbertos abertos = {}, QWidget* pai = nullptr);
    QLabel* lblPlano;
    QCheckBox* chkLivreEscolha;
    QCheckBox* chkInstrumentoJuridico;
    QCheckBox* chkNotasTecnicas;
    QCheckBox* chkAreaAtuacao;
    QCheckBox* chkServicosAdicionais;
    QCheckBox* chkTaxaRegistro;
    QRadioButton* rbVideo;
    QRadioButton* rbImpressora;
    OpcoesRelatorioPlanos Opcoes() const;

protected:
    void ConfirmarClick() override;

private:
    std::optional<int> m_seqPlano;
    DadosPlanoAbertos m_abertos;
};

// Main window's "Relação de Planos": every plan.
void AbreRelatorioPlanos(QWidget* pai);
// The plan screen's print button: that plan, with the rows it has not saved yet.
void AbreRelatorioPlano(QWidget* pai, int seqPlano, const DadosPlanoAbertos& abertos = {});

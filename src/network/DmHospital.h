#pragma once
#include <QObject>
#include <QString>
#include <QUrl>
#include <QVariant>
#include <functional>
#include <optional>

class RowSet;

// Columns of TB_ESTAB_SAUDE named by the module and by its screen.
namespace ColunasEstab {
inline const QString kId = QStringLiteral("ID_ESTB_SAUD");
inline const QString kCnes = QStringLiteral("CD_CNES");
inline const QString kCnpj = QStringLiteral("CD_CNPJ_ESTB_SAUD");
inline const QString kNome = QStringLiteral("RAZAO_SOCIAL_ESTB_SAUD");
inline const QString kClassif = QStringLiteral("CD_CLASSIF_ESTAB_SAUDE");
inline const QString kIntermed = QStringLiteral("CD_OPER_INTERMEDIADORA");
inline const QString kDtContrato = QStringLiteral("DT_CONTRATO_OPER");
}  // namespace ColunasEstab

// The establishment registry: one establishment record (cdsHospital) and the
// registry's rules — field checks, duplicate test, numbering, the link and
// completeness rules, navigation and search statements, the bulk clean-up.
// Created once at start, in its place of the start-up order, and kept for the run.
class TDmHospital : public QObject {
    Q_OBJECT
public:
    // Classification, relation and contracting codes of an establishment.
    static constexpr int kAssistenciaHospitalar = 1;
    static constexpr int kProprio = 1000;
    static constexpr int kContratualizado = 2000;
    // Above this many establishments the search first asks how to narrow the list.
    static constexpr int kLimitePesquisa = 20000;

    // The fields a failed check puts the focus on.
    enum class CampoEstab {
        Classificacao,
        Cnes,
        CnpjCpf,
        Nome,
        Relacao,
        Uf,
        Municipio,
        TipoContratacao,
        RegOperIntermed,
        DataContratacao,
        DataVinculo,
        Disponibilidade
    };
    struct Falha {
        QString mensagem;
        CampoEstab campo;
    };

    // What the screen shows that is not bound to a column.
    struct Escolhas {
        enum Relacao { SemRelacao = -1, Proprio = 0, Contratualizado = 1 };
        enum TipoContratacao { SemTipo = -1, Direta = 0, Indireta = 1 };
        enum Disponibilidade { SemDisponibilidade = -1, Parcial = 0, Total = 1 };
        int relacao = SemRelacao;
        QString uf;                // empty: no state chosen
        qlonglong municipio = -1;  // -1: no municipality chosen
        int tipoContratacao = SemTipo;
        int disponibilidade = SemDisponibilidade;
        bool urgencia = false;
    };

    explicit TDmHospital(QObject* parent = nullptr);
    ~TDmHospital() override;
    static TDmHospital* instancia();

    RowSet* cdsHospital() const { return m_hospital; }
    RowSet* cdsClassifHospital() const { return m_classif; }
    RowSet* cdsEstabVinculado() const { return m_vinculado; }

    // Closes cdsHospital and reopens it on the establishment `idEstb` (no row when
    // it does not exist). Reading with `idEstb` 0 gives the columns and no row.
    void AbreHospital(qlonglong idEstb);
    qlonglong IdEstb() const { return m_idEstb; }
    // Identifier of the current establishment (the last one opened when none is current).
    qlonglong IdAtual() const;
    // Establishment rows read into cdsHospital since the module was created.
    int LeiturasEstabelecimento() const { return m_leituras; }

    // Steps 1 and 2 of the save on the record being edited: trims the texts (blank
    // ones become empty) and normalises the CNES.
    void NormalizaRegistro();
    // "12345" → "0012345"; spaces removed; a text that is no number is left as it is.
    static QString NormalizaCnes(const QString& cnes);
    // Field checks (steps 4 to 10) of the record being edited.
    std::optional<Falha> ValidaEstabelecimento() const;
    // Another establishment (any operator) with the same CNES and CNPJ/CPF.
    bool ExisteDuplicidadeEstab(const RowSet& dados);
    // Checks of the screen's choices and dates (steps 12 to 23).
    std::optional<Falha> ValidaEscolhas(const Escolhas& escolhas) const;
    // The whole save: checks (first failure returned, the record still being
    // edited), then writes the record. A write error discards the pending change
    // and is raised (ErroQev with the engine's text).
    std::optional<Falha> Grava(const Escolhas& escolhas);

    qlonglong ProximoIdEstab();
    bool EstabVinculadoPlano(qlonglong idEstb);
    // Reopens cdsEstabVinculado with only its incomplete rows; true when one remains.
    bool ExisteVinculadoIncompleto();
    // The statement it reads: the linked establishments that may be incomplete.
    static QString SqlVinculadoIncompleto();
    // The completeness rule of a linked establishment, over a row's values by column name.
    static bool EstabelecimentoIncompleto(const std::function<QVariant(const QString&)>& valor);

    // Mask of the CNPJ/CPF as shown (updated after every scroll and post of cdsHospital).
    QString AjustaMascaraCnpjCpf();
    QString MascaraCnpjCpf() const { return m_mascaraCnpj; }

    int ContaEstabelecimentos();
    // The neighbouring identifier (all operators), 0 when there is none.
    qlonglong IdAnterior(qlonglong atual);
    qlonglong IdProximo(qlonglong atual);
    // Deletes the current establishment and writes it at once.
    void ExcluiAtual();
    // Cancels the edit; after a save refused because another copy changed the row, the
    // row is read again as that copy stored it.
    void DescartaPendente();

    // Search: statement, parameters and caption for a choice (0 all, 1 to 3 a classification).
    static QString SqlPesquisa(int escolha);
    static QVariantList ParametrosPesquisa(int escolha);
    static QString LegendaPesquisa(int escolha);
    // The establishment whose CNPJ/CPF is the digits of `texto`; raises
    // "CNPJ <digits> não encontrado" when there is none.
    qlonglong LocalizaCnpj(const QString& texto);

    // The public registry page of a key (CNES or CNPJ/CPF).
    static QUrl EnderecoCadastroPublico(const QString& chave);

    // Deletes every establishment (all operators) not linked to a plan; returns how many.
    int ExcluiNaoVinculados();

    // The current operator's code.
    static QString OperadoraAtual();

private:
    RowSet* m_hospital;
    RowSet* m_classif;
    RowSet* m_vinculado;
    qlonglong m_idEstb = 0;
    int m_leituras = 0;
    QString m_mascaraCnpj;
};

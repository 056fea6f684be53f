#pragma once
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include "db/Banco.h"

// One row of the shared error list.
struct LinhaErroCarga {
    int Sequencia = 0;
    QString NomeCampo;        // what the message is about
    QString NomeErro;         // the message
    QVariant seq_plano;       // -1 for operator or code-table rows; empty without plan data
    QVariant nm_plano;        // "TODOS OS PLANOS" for operator or code-table rows
    QVariant cd_segmentacao;  // plan codes or -1
    QVariant cd_abrangencia;
    QVariant cd_contratacao;
    int linhaArquivo = -1;  // line of an import file; -1 when not about a file line
};

// The shared error list (in memory only): the request screen's checks, the
// transmission dialog and the imports write it; the error reports read it.
class TErrosCarga {
public:
    // The field names, in order.
    static const QStringList& Campos();

    void Limpa() { m_linhas.clear(); }
    void Adiciona(LinhaErroCarga linha) { m_linhas.push_back(std::move(linha)); }
    int RecordCount() const { return m_linhas.size(); }
    bool IsEmpty() const { return m_linhas.isEmpty(); }
    const LinhaErroCarga& linha(int i) const { return m_linhas.at(i); }
    const QVector<LinhaErroCarga>& linhas() const { return m_linhas; }
    // Value of a field (named as in Campos(), without regard to case) of a row.
    QVariant valor(int linha, const QString& campo) const;

private:
    QVector<LinhaErroCarga> m_linhas;
};

// Export bookkeeping: the shared error list and the statements that record a plan's
// send status, protocols and pending return file. Created once at start.
class TDmExportacao : public QObject {
    Q_OBJECT
public:
    explicit TDmExportacao(QObject* parent = nullptr);
    ~TDmExportacao() override;
    static TDmExportacao* instancia();

    TErrosCarga& cdsErrosCarga() { return m_erros; }
    const TErrosCarga& cdsErrosCarga() const { return m_erros; }
    // Set by every append, cleared by LimpaErros.
    bool TemErros() const { return m_temErros; }

    void LimpaErros();
    // contador := contador + 1; a row without plan data numbered with it.
    void AdicionaErro(int& contador, const QString& nomeCampo, int linhaArquivo,
                      const QString& mensagem);
    // The same, with the plan's data.
    void AdicionaErroPlano(int& contador, const QString& nomeCampo, int linhaArquivo,
                           const QVariant& abrangencia, const QVariant& contratacao,
                           const QVariant& segmentacao, const QVariant& nmPlano,
                           const QVariant& seqPlano, const QString& mensagem);

    // A day-first date ("dd/mm/yyyy") whose year (characters 7 to 10) is 1900 or later.
    static bool DataValida(const QString& texto);

    void AtualizaRedeVinculada(int seqPlano, bool vinculada);
    // The plan's municipalities (coverage 4 or 5: seq_plano, id_munc, cd_uf, nm_munc)
    // or states (otherwise: seq_plano, cd_uf, nm_uf).
    Resultado ConsultaAreaPlano(const QString& cdOper, int seqPlano, int abrangencia);
    // The pending return file of a plan; an empty name clears it.
    void GravaNomeRetorno(int seqPlano, const QString& nome);
    // Records a successful send of a plan queued with status `statusEnvio`.
    void RegistraEnvio(int seqPlano, const QVariant& statusEnvio, const QString& idSolicitacao,
                       const QDateTime& dataTransmissao, const QString& protocolo);

private:
    TErrosCarga m_erros;
    bool m_temErros = false;
};

inline TDmExportacao* DmExportacao() { return TDmExportacao::instancia(); }

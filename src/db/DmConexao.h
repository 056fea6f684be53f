#pragma once
#include <QMap>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "db/Banco.h"

// The shared query: the rows of the last statement opened through it, with a cursor.
class Consulta {
public:
    Resultado resultado;
    int linhaAtual = 0;

    void Close() { resultado = Resultado(); linhaAtual = 0; }
    bool IsEmpty() const { return resultado.vazio(); }
    bool Eof() const { return linhaAtual >= resultado.numLinhas(); }
    void Next() { ++linhaAtual; }
    void First() { linhaAtual = 0; }
    int RecordCount() const { return resultado.numLinhas(); }
    // Value of a column of the current row (names compared without regard to case).
    QVariant campo(const QString& coluna) const;
    bool temCampo(const QString& coluna) const { return resultado.indice(coluna) >= 0; }
};

// The connection module: owns the one connection to QEV.mdb for the whole run,
// runs the start-up sequence and serves statements and transactions.
class TDmConexao : public QObject {
    Q_OBJECT
public:
    explicit TDmConexao(QObject* parent = nullptr);
    ~TDmConexao() override;

    // Every table's row count: what a faithful copy of the database keeps.
    static QMap<QString, qlonglong> ContagemTabelas(Banco& b);

    // The module of this run (the last one created), or nullptr.
    static TDmConexao* instancia();

    // The fixed password of the database (13 printable characters).
    static QByteArray SenhaBanco();
    static QString NomeBanco() { return QStringLiteral("QEV.mdb"); }

    void DefineBarraProgresso(std::function<void(int)> barra);
    void AbreBanco();

    Consulta& AbreConsulta(const QString& sql, const ParamsPosicionais& params = {});
    Consulta& AbreConsulta(const QString& sql, const ParamsNomeados& params);
    void ExecutaComando(const QString& sql, const ParamsPosicionais& params = {});
    void ExecutaComando(const QString& sql, const ParamsNomeados& params);

    void IniciaTransacao();
    void ConfirmaTransacao();
    void DesfazTransacao();

    bool ExisteCampo(const QString& coluna, const QString& tabela);
    void CriaCampo(const QString& coluna, const QString& tabela, int tamanho, const QString& tipo);
    bool GaranteCampo(const QString& tabela, const QString& coluna, int tamanho,
                      const QString& tipoMotor);

    static QString NormalizaProtocolo(const QString& protocolo);
    bool CompactaBanco(const QString& caminhoBanco);
    void CarregaMunicipios();
    void ProcessaRetornos();
    // The predecessor system's database: opened read-only with its own fixed password
    // (nothing is ever written to it), closed again by its import.
    static QByteArray SenhaBancoAnterior();
    void AbreBancoAnterior(const QString& caminho);
    void FechaBancoAnterior();
    // Runs a query on the predecessor system's database (opened by its import).
    Consulta& ConsultaBancoAnterior(const QString& sql, const ParamsPosicionais& params = {});
    Banco& bancoAnterior() { return *m_bancoAnterior; }

    QString PastaSistema() const { return m_pastaSistema; }
    QString CaminhoBanco() const { return m_pastaSistema + NomeBanco(); }
    Banco& banco() { return *m_banco; }
    Consulta& qryGeneric() { return m_qryGeneric; }

    // The database to ourselves: the run's shared lock on the sidecar file becomes
    // exclusive. False (and the shared lock kept) while another copy of the program has
    // the database open. A backup and a restoration hold it while they run.
    bool TravaExclusiva();
    // Back to the shared lock every running copy holds.
    void LiberaExclusiva();

    // Where CarregaMunicipios reads the built-in list from (a Qt resource by default).
    void DefineOrigemMunicipios(const QString& caminho) { m_origemMunicipios = caminho; }

private:
    void avanca(int valor);
    void normalizaProtocolosGravados();
    bool travaCompartilhada();

    std::unique_ptr<Banco> m_banco;
    std::unique_ptr<Banco> m_bancoAnterior;
    Consulta m_qryGeneric;
    Consulta m_qryAnterior;
    QString m_pastaSistema;
    QString m_origemMunicipios;
    std::function<void(int)> m_barra;
    int m_fdTrava = -1;  // shared lock on the sidecar lock file, held for the whole run
};

// The connection module of this run.
inline TDmConexao* DmConexao() { return TDmConexao::instancia(); }

#pragma once
#include <QDateTime>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

// One request file queued for transmission by the request screen.
struct TEnvio {
    int SeqPlano = 0;
    QString NmPlano;
    QString NmArquivo;       // the request file's name, in the program's folder
    QVariant CdStatusEnvio;  // the plan's send status when it was queued
    QString DeContratacao;
    QString DeAbrangencia;
    QString DeSegmentacao;
};
using TListaEnvio = QVector<TEnvio>;

// What the transmission dialog does, without the window: the confirmation loop that
// hands each queued file to the transfer program and records the outcome.
class TTransmissaoArq {
public:
    TTransmissaoArq(const QString& cdOper, TListaEnvio lista, int qtdErros,
                    const QString& idSolicitacao);

    // The dialog was shown: its error rows are numbered from 1 again.
    void Mostrado() { m_qtdErros = 0; }

    // The confirmation with the password as typed and the dialog's window handle. True
    // when at least one file was sent, so the dialog closes with the answer yes.
    bool Confirma(const QString& senha, quint64 janela);

    bool Enviando() const { return m_enviando; }
    // Plan numbers (decimal texts) sent successfully since the dialog was opened.
    const QStringList& PlanosEnviados() const { return m_planosEnviados; }
    int QtdErros() const { return m_qtdErros; }
    QString UltimoProtocolo() const { return m_ultimoProtocolo; }
    QDateTime UltimaDataTransmissao() const { return m_ultimaData; }

private:
    // Hands one file over; true when it was sent and recorded.
    bool envia(int indice, const QString& senha, quint64 janela);

    QString m_cdOper;
    TListaEnvio m_lista;
    int m_qtdErros;
    QString m_idSolicitacao;
    QStringList m_planosEnviados;
    QSet<int> m_registrados;  // files recorded as sent in an earlier confirmation
    QString m_ultimoProtocolo;
    QDateTime m_ultimaData;
    bool m_enviando = false;
};

#pragma once
#include <QObject>
#include <QString>
#include <QUrl>

class PacoteDados;
class QWidget;

// Compares the installed version with the one the regulator publishes in its version
// file (an XML data packet listing several systems).
class TZubVerificaVersaoSis : public QObject {
    Q_OBJECT
public:
    // The fixed path of the version file on the regulator's web server.
    static constexpr char kCaminho[] = "/metadados/aplicativos/qev/QEV.xml";
    // How long the server is given before the check gives up silently.
    static constexpr int kEsperaMaximaMs = 5000;
    // A reply larger than this is not a version file.
    static constexpr qint64 kTamanhoMaximo = 1024 * 1024;

    explicit TZubVerificaVersaoSis(QObject* parent = nullptr);

    // Where the version file is read: the build's host (or the server set below)
    // with the fixed path.
    QUrl ArquivoXmlWeb;
    QString SistemaSigla = QStringLiteral("QEV");
    QString SistemaVersao;  // e.g. "02.07.03", set just before the check

    // Reads the version file and compares. Answers true when the file was read to its
    // end; the caller then looks at Atualizado(). Shows the notice when the installed
    // version is older (modally, over `pai`). Never raises: no network, no server, a
    // server that does not answer in time, an HTTP error or an unknown field answer
    // false silently; a reply that is not a data packet shows one plain message.
    bool Execute(QWidget* pai = nullptr);

    QString VersaoPublicada() const { return m_versaoPublicada; }
    bool PermiteContinuar() const { return m_permiteContinuar; }
    QString LinkDownload() const { return m_link; }
    bool Atualizado() const { return m_atualizado; }
    // Whether the check asked the program to end (older version that may not go on).
    bool FinalizacaoPedida() const { return m_finalizacaoPedida; }

    // Folder where "versis.xml" is written while it is read; empty (the default) uses
    // a private temporary folder. The file never outlives the check.
    void DefinePastaArquivo(const QString& pasta) { m_pasta = pasta; }

    // Replaces the scheme, host and port of every check's address (the path stays);
    // an empty address restores the build's host. Used to point at a test server.
    static void DefineServidor(const QUrl& servidor);
    static QUrl EnderecoPadrao();

private:
    // The reply's bytes; throws ErroQev when the file cannot be fetched.
    QByteArray baixa();
    bool compara(QWidget* pai, const PacoteDados& pacote);

    QString m_pasta;
    QString m_versaoPublicada;
    bool m_permiteContinuar = true;
    QString m_link;
    bool m_atualizado = true;
    bool m_finalizacaoPedida = false;
};

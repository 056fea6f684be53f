#pragma once
// A small HTTP server on loopback for the version check: answers every request
// with a prepared reply, or holds the connection without answering, or trickles
// its body one byte at a time.
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

namespace Apoio {

class ServidorTeste {
public:
    enum class Modo { Responde, Cala, Goteja };

    ServidorTeste() {
        m_servidor.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_servidor, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* s = m_servidor.nextPendingConnection()) atende(s);
        });
    }

    // The address to give the version check (scheme, host and port).
    QUrl endereco() const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_servidor.serverPort()));
    }
    // An address where nothing listens.
    static QUrl enderecoSemServidor() {
        QTcpServer s;
        s.listen(QHostAddress::LocalHost, 0);
        const quint16 porta = s.serverPort();
        s.close();
        return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(porta));
    }

    void respondeCom(int status, const QByteArray& corpo, const QByteArray& tipo = "text/xml",
                     bool comTamanho = true) {
        m_modo = Modo::Responde;
        m_resposta = "HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Type: " + tipo +
                     "\r\nConnection: close\r\n";
        if (comTamanho)
            m_resposta += "Content-Length: " + QByteArray::number(corpo.size()) + "\r\n";
        m_resposta += "\r\n" + corpo;
    }
    void cala() { m_modo = Modo::Cala; }
    void goteja() { m_modo = Modo::Goteja; }

    int pedidos() const { return m_pedidos; }
    const QByteArray& ultimoPedido() const { return m_ultimoPedido; }

private:
    void atende(QTcpSocket* s) {
        QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
        QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] {
            QByteArray& recebido = m_recebido[s];
            recebido += s->readAll();
            if (!recebido.contains("\r\n\r\n") || s->property("respondido").toBool()) return;
            s->setProperty("respondido", true);
            ++m_pedidos;
            m_ultimoPedido = recebido;
            switch (m_modo) {
                case Modo::Responde:
                    s->write(m_resposta);
                    s->disconnectFromHost();
                    break;
                case Modo::Cala:
                    break;
                case Modo::Goteja: {
                    s->write(
                        "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: "
                        "100000\r\n\r\n");
                    auto* gota = new QTimer(s);
                    QObject::connect(gota, &QTimer::timeout, s, [s] { s->write("<"); });
                    gota->start(100);
                    break;
                }
            }
        });
    }

    QTcpServer m_servidor;
    Modo m_modo = Modo::Responde;
    QByteArray m_resposta;
    QHash<QTcpSocket*, QByteArray> m_recebido;
    int m_pedidos = 0;
    QByteArray m_ultimoPedido;
};

}  // namespace Apoio

#pragma once
#include <QByteArray>
#include <QString>
#include <exception>

// The one exception type of the system: an operation that fails raises it
// with the text the user is to read.
class ErroQev : public std::exception {
public:
    explicit ErroQev(QString mensagem) : m_mensagem(std::move(mensagem)), m_utf8(m_mensagem.toUtf8()) {}
    const QString& mensagem() const noexcept { return m_mensagem; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_mensagem;
    QByteArray m_utf8;
};

// A failure reported by the database engine; `codigo` is SQLite's extended result code.
class ErroBanco : public ErroQev {
public:
    ErroBanco(QString mensagem, int codigo) : ErroQev(std::move(mensagem)), m_codigo(codigo) {}
    int codigo() const noexcept { return m_codigo; }

private:
    int m_codigo;
};

// A row to update or delete is no longer as it was read: another copy changed or deleted
// it since. Nothing of the write is kept.
class ErroRegistroAlterado : public ErroQev {
public:
    ErroRegistroAlterado()
        : ErroQev(QStringLiteral("Registro não encontrado ou alterado por outro usuário.")) {}
};

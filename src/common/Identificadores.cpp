#include "common/Identificadores.h"

#include <array>
#include <utility>

#include "db/Erro.h"

namespace {

bool ehDigito(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Value of the digit at position i; any other character is a conversion error.
int digitoEstrito(const QString& texto, qsizetype i) {
    const QChar c = texto.at(i);
    if (!ehDigito(c)) throw ErroQev(QStringLiteral("'%1' não é um número inteiro válido").arg(c));
    return c.unicode() - '0';
}

// Value of the digit at position i; any other character counts as zero.
int digitoOuZero(const QString& texto, qsizetype i) {
    const QChar c = texto.at(i);
    return ehDigito(c) ? c.unicode() - '0' : 0;
}

// Check digit of the CNPJ/CPF rule: 0 for a remainder below 2, else 11 - r.
int digitoModulo11(int soma) {
    const int r = soma % 11;
    return r < 2 ? 0 : 11 - r;
}

}  // namespace

bool ValidaCnpjCpf(const QString& texto, int tipo) {
    if (texto.trimmed().isEmpty()) return false;
    int n;
    if (tipo == 0)
        n = 14;
    else if (tipo == 1)
        n = 11;
    else
        return false;
    if (texto.size() > n) return false;

    const QString numero = CompletaZeros(texto, n);
    static constexpr std::array<int, 12> kPeso1Cnpj{5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    static constexpr std::array<int, 12> kPeso2Cnpj{6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3};
    int soma1 = 0;
    int soma2 = 0;
    for (int i = 0; i < n - 2; ++i) {
        const int d = digitoOuZero(numero, i);
        soma1 += d * (tipo == 0 ? kPeso1Cnpj[i] : 10 - i);
        soma2 += d * (tipo == 0 ? kPeso2Cnpj[i] : 11 - i);
    }
    const int a = digitoModulo11(soma1);
    const int b = digitoModulo11(soma2 + 2 * a);
    return a == digitoOuZero(numero, n - 2) && b == digitoOuZero(numero, n - 1);
}

bool CnpjValido(const QString& texto) {
    return SomenteDigitos(texto) == texto && ValidaCnpjCpf(texto, 0) && !TodosZeros(texto);
}
bool CpfValido(const QString& texto) {
    return SomenteDigitos(texto) == texto && ValidaCnpjCpf(texto, 1) && !TodosZeros(texto);
}

bool ValidaCnes(const QString& texto) {
    if (texto.isEmpty()) return false;
    bool ok = false;
    const qlonglong valor = texto.toLongLong(&ok);
    // A negative value is no establishment code either.
    if (!ok || valor <= 0) return false;

    const QString numero = CompletaZeros(QString::number(valor), 7);
    int soma = 0;
    for (int i = 0; i < 6; ++i) soma += (7 - i) * digitoEstrito(numero, i);
    const int r = soma % 11;
    const int dv = r <= 1 ? 0 : 11 - r;
    return digitoEstrito(numero, 6) == dv;
}

bool ValidaCodigoOperadora(const QString& texto) {
    if (texto.size() > 6) return false;
    const QString codigo = CompletaZeros(texto, 6);
    int soma = 0;
    for (int i = 0; i < 5; ++i) soma += (6 - i) * digitoEstrito(codigo, i);
    const int r = soma % 11;
    const int dv = r == 0 ? 1 : (r == 1 ? 0 : 11 - r);
    return digitoEstrito(codigo, 5) == dv;
}

bool TodosZeros(const QString& texto) {
    const qsizetype quantos = texto.trimmed().size();
    int soma = 0;
    for (qsizetype i = 0; i < quantos; ++i) soma += digitoEstrito(texto, i);
    return soma == 0;
}

QString DigitoVerificadorTaxa(const QString& texto, int comprimento) {
    const int tamanhoBase = comprimento - 1;
    if (tamanhoBase < 0 || texto.size() < tamanhoBase) return QString();
    int soma = 0;
    for (int i = 0; i < tamanhoBase; ++i) {
        const int peso = i < 3 ? 7 + i : 2 + (i - 3) % 8;
        soma += peso * digitoEstrito(texto, i);
    }
    const int r = soma % 11;
    if (r < 10) return QString::number(r);
    return comprimento == 12 ? QStringLiteral("X") : QStringLiteral("0");
}

QString CompletaDigitosCnpj(const QString& doze) {
    static constexpr std::array<int, 13> kPesos{6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    QString n = doze.left(12);
    for (int passo = 0; passo < 2; ++passo) {
        int soma = 0;
        // the first digit uses the weights from the second on
        for (qsizetype i = 0; i < n.size(); ++i)
            soma += digitoEstrito(n, i) * kPesos[std::size_t(i + 1 - passo)];
        n += QString::number(digitoModulo11(soma));
    }
    return n;
}

QString CompletaDigitosCpf(const QString& nove) {
    QString n = nove.left(9);
    for (int passo = 0; passo < 2; ++passo) {
        int soma = 0;
        for (qsizetype i = 0; i < n.size(); ++i) soma += digitoEstrito(n, i) * int(n.size() + 1 - i);
        n += QString::number(digitoModulo11(soma));
    }
    return n;
}

QString CompletaDigitoCnes(const QString& seis) {
    const QString n = seis.left(6);
    int soma = 0;
    for (int i = 0; i < 6; ++i) soma += (7 - i) * digitoEstrito(n, i);
    const int r = soma % 11;
    return n + QString::number(r <= 1 ? 0 : 11 - r);
}

QString CompletaDigitoOperadora(const QString& cinco) {
    const QString n = cinco.left(5);
    int soma = 0;
    for (int i = 0; i < 5; ++i) soma += (6 - i) * digitoEstrito(n, i);
    const int r = soma % 11;
    return n + QString::number(r == 0 ? 1 : (r == 1 ? 0 : 11 - r));
}

QString SomenteDigitos(const QString& texto) {
    QString resultado;
    resultado.reserve(texto.size());
    for (const QChar c : texto)
        if (ehDigito(c)) resultado.append(c);
    return resultado;
}

QString CompletaZeros(QString texto, int comprimento) {
    if (texto.size() < comprimento) texto.prepend(QString(comprimento - texto.size(), u'0'));
    return texto;
}

QString CompletaEspacos(QString texto, int comprimento) {
    if (texto.size() < comprimento) texto.append(QString(comprimento - texto.size(), u' '));
    return texto;
}

QString RotuloTema(int ordem, const QString& nome) {
    return NumeroRomano(ordem) + QStringLiteral(" - ") + nome;
}

QString NumeroRomano(int n) {
    static constexpr std::array<std::pair<int, const char*>, 13> kPares{{{1000, "M"},
                                                                         {900, "CM"},
                                                                         {500, "D"},
                                                                         {400, "CD"},
                                                                         {100, "C"},
                                                                         {90, "XC"},
                                                                         {50, "L"},
                                                                         {40, "XL"},
                                                                         {10, "X"},
                                                                         {9, "IX"},
                                                                         {5, "V"},
                                                                         {4, "IV"},
                                                                         {1, "I"}}};
    QString resultado;
    for (const auto& [valor, simbolo] : kPares) {
        while (n >= valor) {
            resultado += QLatin1String(simbolo);
            n -= valor;
        }
    }
    return resultado;
}

#include "apoio/VuqTeste.h"

#include <QDir>
#include <QFile>
#include <QSettings>

namespace Apoio {

VuqInstalado::VuqInstalado(const QString& programa) {
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, m_config.path());
    if (programa.isEmpty()) {
        m_executavel = m_dir.path() + QStringLiteral("/VUQ.exe");
        QFile f(m_executavel);
        f.open(QIODevice::WriteOnly);
    } else {
        m_executavel = programa;
    }
    QDir().mkpath(pastaProtocolos());
    instala();
}

void VuqInstalado::instala() {
    QSettings s(QSettings::IniFormat, QSettings::SystemScope, QStringLiteral("ZUB"), QStringLiteral("VUQ"));
    s.setValue(QStringLiteral("PATH"), m_executavel);
    s.sync();
}

VuqInstalado::~VuqInstalado() { desinstala(); }

QString VuqInstalado::pasta() const {
    return QFileInfo(m_executavel).absolutePath() + QLatin1Char('/');
}

QString VuqInstalado::pastaProtocolos() const { return pasta() + QStringLiteral("Protocolos/"); }

void VuqInstalado::escreveProtocolo(const QString& nome, const QString& protocoloTX,
                                    const QString& dataTransmissao) const {
    QFile f(pastaProtocolos() + nome);
    f.open(QIODevice::WriteOnly);
    f.write(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<protocolo>"
                           "<operadora>123456</operadora><tipo_Arquivo>QEV</tipo_Arquivo>"
                           "<arquivo>%1</arquivo><dataTransmissao>%2</dataTransmissao>"
                           "<protocoloTX>%3</protocoloTX><aplicativo>VUQ</aplicativo>"
                           "</protocolo>\n")
                .arg(nome, dataTransmissao, protocoloTX)
                .toUtf8());
}

void VuqInstalado::desinstala() {
    QSettings s(QSettings::IniFormat, QSettings::SystemScope, QStringLiteral("ZUB"), QStringLiteral("VUQ"));
    s.remove(QStringLiteral("PATH"));
    s.sync();
}

}  // namespace Apoio

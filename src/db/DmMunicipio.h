#pragma once
#include <QObject>
#include <QString>
#include <QVector>

// States with their municipalities, for the state/municipality choices.
class TDmMunicipio : public QObject {
    Q_OBJECT
public:
    struct Municipio {
        qlonglong id = 0;
        QString nome;
    };
    struct Uf {
        QString codigo;
        QString nome;
        QVector<Municipio> municipios;  // ordered by name
    };

    explicit TDmMunicipio(QObject* parent = nullptr);
    ~TDmMunicipio() override;
    static TDmMunicipio* instancia();

    // Reads the states and their municipalities (the establishment screen opens it
    // while it is shown).
    void Abre();
    void Fecha();
    bool Aberto() const { return m_aberto; }
    const QVector<Uf>& Ufs() const { return m_ufs; }
    const Uf* LocalizaUf(const QString& cdUf) const;

private:
    QVector<Uf> m_ufs;
    bool m_aberto = false;
};

// The state of a municipality; empty text when the code is not in TB_MUNICIPIOS.
QString UfDoMunicipio(qlonglong idMunicipio);

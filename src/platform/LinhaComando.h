#pragma once
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

// Command line of the developer programs (benchmarks, generators, the delivered-database
// builder, the transfer-program simulator). The system itself reads no arguments.
struct ArgumentoPosicional {
    QString nome;
    QString descricao;
    bool opcional = false;
    bool repetido = false;  // takes every remaining argument
};

// Reads the positional arguments. "-h"/"--help" prints the usage and ends the program
// with 0; an unknown option or a wrong number of arguments prints it to the error
// output and ends with 2.
QStringList LeArgumentos(const QCoreApplication& app, const QString& descricao,
                         const QVector<ArgumentoPosicional>& argumentos);

#!/usr/bin/env python3
"""Builds the built-in municipality list (data/municipios.xml) from a CSV file.

Usage: gera-municipios.py MUNICIPIOS.csv [SAIDA.xml]

The CSV has the header ID_MUNC,CD_UF,NM_MUNC and one municipality per line. The output is
an XML data packet with one ROW per municipality, in ascending order of code, written in
UTF-8. The input is checked before anything is written: seven-digit unique codes, a
two-letter state, a name within the field width, and the expected number of rows.
"""

import csv
import os
import sys
from collections import Counter

LARGURAS = (("ID_MUNC", 7), ("CD_UF", 2), ("NM_MUNC", 50))
TOTAL_ESPERADO = 5570

CABECALHO = (
    '<?xml version="1.0" standalone="yes"?>\n'
    '<DATAPACKET Version="2.0"><METADATA><FIELDS>'
    + "".join(
        f'<FIELD attrname="{nome}" fieldtype="string" WIDTH="{largura}"/>'
        for nome, largura in LARGURAS
    )
    + "</FIELDS><PARAMS/></METADATA><ROWDATA>\n"
)
RODAPE = "</ROWDATA></DATAPACKET>\n"

ESCAPES = {"&": "&amp;", "<": "&lt;", ">": "&gt;", '"': "&quot;", "'": "&apos;"}


def escapa(texto):
    return "".join(ESCAPES.get(c, c) for c in texto)


def le_municipios(caminho):
    with open(caminho, encoding="utf-8-sig", newline="") as f:
        leitor = csv.DictReader(f)
        if leitor.fieldnames != [nome for nome, _ in LARGURAS]:
            raise ValueError(f"cabeçalho inesperado: {leitor.fieldnames}")
        linhas = []
        for n, r in enumerate(leitor, start=2):
            cod, uf, nome = ((r[nome] or "").strip() for nome, _ in LARGURAS)
            if len(cod) != 7 or not cod.isdigit():
                raise ValueError(f"linha {n}: código de município inválido: {cod!r}")
            if len(uf) != 2 or not uf.isalpha() or not uf.isupper():
                raise ValueError(f"linha {n}: UF inválida: {uf!r}")
            if not nome or len(nome) > 50:
                raise ValueError(f"linha {n}: nome vazio ou com mais de 50 caracteres: {nome!r}")
            linhas.append((cod, uf, nome))
    codigos = [int(c) for c, _, _ in linhas]
    if len(set(codigos)) != len(codigos):
        raise ValueError("códigos de município repetidos")
    if len(linhas) != TOTAL_ESPERADO:
        raise ValueError(f"{len(linhas)} municípios; eram esperados {TOTAL_ESPERADO}")
    return sorted(linhas, key=lambda l: int(l[0]))


def escreve_pacote(linhas, destino):
    temporario = destino + ".tmp"
    with open(temporario, "w", encoding="utf-8", newline="\n") as f:
        f.write(CABECALHO)
        for cod, uf, nome in linhas:
            f.write(f'<ROW ID_MUNC="{cod}" CD_UF="{escapa(uf)}" NM_MUNC="{escapa(nome)}"/>\n')
        f.write(RODAPE)
    os.replace(temporario, destino)


def main(argv):
    if len(argv) not in (2, 3):
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    raiz = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    destino = argv[2] if len(argv) == 3 else os.path.join(raiz, "data", "municipios.xml")
    try:
        linhas = le_municipios(argv[1])
    except (OSError, ValueError, csv.Error) as e:
        print(f"gera-municipios: {e}", file=sys.stderr)
        return 1
    escreve_pacote(linhas, destino)
    por_uf = Counter(uf for _, uf, _ in linhas)
    print(f"gera-municipios: {len(linhas)} municípios de {len(por_uf)} UFs gravados em {destino}")
    for uf, n in sorted(por_uf.items()):
        print(f"  {uf} {n}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

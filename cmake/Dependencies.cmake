# Every version and external setting that matters is pinned here.

# SQLite3 Multiple Ciphers: the amalgamation ships inside this npm package (deps/sqlite3/).
set(QEV_SQLITEMC_PACOTE "better-sqlite3-multiple-ciphers" CACHE INTERNAL "")
set(QEV_SQLITEMC_VERSAO "12.11.1" CACHE INTERNAL "")
# sha256 of the tarball produced by `npm pack better-sqlite3-multiple-ciphers@12.11.1`
set(QEV_SQLITEMC_SHA256 "01388c78f46ce63c6aec021f67b364cc67bd637edba64f7add0c0230ce5f777a" CACHE INTERNAL "")

# Host of the regulator's web server that publishes the version file (path is fixed in code).
set(QEV_HOST_VERSAO "www.zub.gov.br" CACHE STRING "Host that publishes the version file")
# Host of the public establishment registry page (path and query are fixed in code).
set(QEV_HOST_CNES "cnes.zub.gov.br" CACHE STRING "Host of the public establishment registry")
# Key shared with the transfer program: sixteen upper-case ASCII letters.
set(QEV_CHAVE_VUQ "QZMHTRKBWLDVNCXP" CACHE STRING "Blowfish key shared with the transfer program")
# Password of the predecessor system's database (Zemlo.mdb): fourteen letters and digits.
set(QEV_SENHA_OLVAR "Olv4rZub2003Rd" CACHE STRING "Password of the predecessor system's database")

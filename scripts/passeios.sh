#!/usr/bin/env bash
# Long random walks of the record screens (plan and establishment): many seeds, many steps.
#   scripts/passeios.sh [STEPS_PER_WALK] [SEEDS] [FIRST_SEED]
# A failing walk prints its seed and its steps; rerun that one with FIRST_SEED=seed SEEDS=1.
source "$(dirname "$0")/comum.sh"
PASSOS=${1:-2000}
SEMENTES=${2:-10}
PRIMEIRA=${3:-1000}
[ -x "$BUILD/tests/test_plans" ] || { instala_dependencias; compila; }
export QT_QPA_PLATFORM=offscreen QEV_PASSEIO_PASSOS=$PASSOS QEV_PASSEIO_SEMENTES=$SEMENTES \
       QEV_PASSEIO_PRIMEIRA=$PRIMEIRA
falhou=0
"$BUILD/tests/test_plans" --gtest_filter='PasseioPlano.*' || falhou=1
"$BUILD/tests/test_network" --gtest_filter='PasseioEstab.*' || falhou=1
echo "==> $SEMENTES passeios de $PASSOS passos por tela, sementes $PRIMEIRA a $((PRIMEIRA + SEMENTES - 1))"
exit $falhou

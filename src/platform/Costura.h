#pragma once
#include <utility>

// The storage of one replaceable platform service: the installed handler (empty
// means "the real one") and its replacement. `Marca` only tells seams apart.
template <typename Marca, typename Tratador>
struct Costura {
    static Tratador& atual() {
        static Tratador t;
        return t;
    }
    // Installs `novo`; returns the handler it replaced.
    static Tratador define(Tratador novo) {
        Tratador antigo = std::move(atual());
        atual() = std::move(novo);
        return antigo;
    }
};

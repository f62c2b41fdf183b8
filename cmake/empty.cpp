// Nothing: the layer checks link whole static libraries into a shared object.

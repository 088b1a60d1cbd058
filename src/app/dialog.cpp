// filled in by the foundation work

// a layer beside engine, not below it

// a header of a higher layer

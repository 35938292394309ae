// A stream that blocks on a pipe: the scan must name the line below.
std::ifstream table(path);
// open( in a comment is no opening

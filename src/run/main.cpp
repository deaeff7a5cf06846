#include <cstdio>

#include "run/run.h"

// Command-line arguments are ignored: everything is asked on the console.
int main() { return tarvolin::run(stdin, stdout); }

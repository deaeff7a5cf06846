// The reference run as a program of its own, for the benchmark to time
// against tarvolin on the same answers.
#include <cstdio>

#include "reference/reference.h"

int main() { return tarvolin::reference::run(stdin, stdout); }

// tarvolin_plain: the whole run, dialogue and reports as tarvolin has them,
// with the plain loops standing in for the match builder and the error
// margins. The benchmark times tarvolin against it.
#include <cstdio>

#include "plain_loops.h"
#include "run/run.h"

int main() {
  tarvolin::RunHooks hooks = tarvolin::program_hooks();
  hooks.build_matches = tarvolin::plain::build_matches;
  hooks.compute_error_margins = tarvolin::plain::compute_error_margins;
  return tarvolin::run(stdin, stdout, hooks);
}

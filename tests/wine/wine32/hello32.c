/* The smallest 32-bit Windows program: it proves that this machine runs
 * 32-bit Windows code before the 32-bit test stages rely on it. */
#include <stdio.h>

int main(void) {
  printf("32-bit Windows programs run (pointer size %u)\n", (unsigned)sizeof(void*));
  return sizeof(void*) == 4 ? 0 : 1;
}

/* Crashes on purpose: proves that a crash in the test prefix fails its test. */
int main(void) {
  volatile int* nowhere = 0;
  *nowhere = 1;
  return 0;
}

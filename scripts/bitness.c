/* Exits with the bitness it was built for: a script asks whether this machine
   runs 32-bit Windows programs. */
int main(void) { return (int)sizeof(void*) * 8; }

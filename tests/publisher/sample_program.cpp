// The program the publisher tests sign, change and copy: it only has to be a program with the
// product's version resource.
int main() { return 0; }

// Carries the program's Windows resources (icon, version record, manifest) and does nothing.
int main() { return 0; }

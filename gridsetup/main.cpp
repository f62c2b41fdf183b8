// UNDER CONSTRUCTION: replaced by the installer.
int main() { return 0; }

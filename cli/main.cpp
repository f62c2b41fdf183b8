// UNDER CONSTRUCTION: replaced by korvel-solve.
int main() { return 0; }

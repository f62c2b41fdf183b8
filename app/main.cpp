// UNDER CONSTRUCTION: replaced by the application's start-up.
int main() { return 0; }

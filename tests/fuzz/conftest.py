"""Reports the fuzzer's seed, example count and coverage at the end of the run,
so that a failure can be reproduced."""
import sys, pathlib
sys.path.insert(0, str(pathlib.Path(__file__).parent))
import fuzzlib  # noqa: E402


def pytest_terminal_summary(terminalreporter):
    for line in fuzzlib.SUMMARY:
        terminalreporter.write_line(line)

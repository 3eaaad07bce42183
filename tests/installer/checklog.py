"""The installer tests' log: each check printed with its time since the start, failures kept."""
import time

failures = []
STARTED = time.monotonic()


def check(condition, what):
    print(('ok   ' if condition else 'FAIL ') + f'{time.monotonic() - STARTED:5.1f} s  ' + what, flush=True)
    if not condition:
        failures.append(what)
    return condition

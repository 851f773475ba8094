# SPDX-License-Identifier: MIT
"""What the checks of the encoder on a desktop share, Linux's and Wine's: a check that is printed
and counted, and waiting for a condition."""

import time

# The message of every check that failed, in order.
failures = []


def check(condition, message):
    print(("  ok: " if condition else "  FAILED: ") + message, flush=True)
    if not condition:
        failures.append(message)
    return condition


def wait_for(predicate, timeout=10.0, step=0.05):
    """The predicate's first true value within the timeout, else its value at the end."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return predicate()

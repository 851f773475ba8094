#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Checks of glomiecode-cli serve against hostile clients and a log nobody takes.

  serve_checks.py protocol PORT       requests that are not plain HTTP/1.1, on a running server
  serve_checks.py closed-output CLI   a server whose output pipe was closed keeps serving
  serve_checks.py unread-output CLI   a server whose error output nobody reads keeps serving
  serve_checks.py per-client CLI      serve --per-client: a client's connection over the cap is
                                      closed at once, other clients are served

Each prints one line per check and exits with 1 if any failed. Standard library only.
"""

import json
import os
import re
import signal
import socket
import subprocess
import sys
import time

# Requests that are not plain HTTP/1.1 and how the server answers each: a table shared with the
# service's unit tests. A server that closes does so without a reset, whatever the client still
# sends: a reset could cost the client the answer.
CASES_FILE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "protocol-cases.json")


def case_bytes(value):
    """Text (each character one byte) or a list of parts {text, times} or {hex}."""
    if isinstance(value, str):
        return value.encode("latin-1")
    return b"".join(bytes.fromhex(part["hex"]) if "hex" in part
                    else part["text"].encode("latin-1") * part.get("times", 1) for part in value)


def protocol_cases():
    with open(CASES_FILE, encoding="ascii") as table:
        return json.load(table)["cases"]


def exchange(port, data, half_close, quiet=1.0, source="127.0.0.1"):
    """What came back, and how the connection ended within quiet seconds: "closed", "reset" or
    "kept open"."""
    with socket.create_connection(("127.0.0.1", port), timeout=5, source_address=(source, 0)) as client:
        try:
            client.sendall(data)
            if half_close:
                client.shutdown(socket.SHUT_WR)
        except ConnectionResetError:
            pass  # what the server sent before is still there to read
        client.settimeout(quiet)
        answer = b""
        try:
            while True:
                chunk = client.recv(65536)
                if not chunk:
                    return answer, "closed"
                answer += chunk
        except socket.timeout:
            return answer, "kept open"
        except ConnectionResetError:
            return answer, "reset"


def protocol(port):
    failures = 0
    for case in protocol_cases():
        name, status, closed = case["name"], case["status"], case["closed"]
        answer, ending = exchange(port, case_bytes(case["sent"]), case.get("halfClose", False))
        statuses = re.findall(rb"HTTP/1\.1 (\d{3}) ", answer)
        got = statuses[-1].decode() if statuses else None
        ok = (got == str(status) and ending == ("closed" if closed else "kept open") and
              len(statuses) == case.get("answers", 1))
        print(f"{'ok  ' if ok else 'FAIL'}  {name}: {got or 'no answer'}"
              f"{f' (the last of {len(statuses)})' if len(statuses) > 1 else ''}, {ending}")
        failures += not ok
    return failures


def start_server(cli, stderr, options=()):
    server = subprocess.Popen([cli, "serve", "--port", "0", *options], stdout=subprocess.PIPE, stderr=stderr)
    line = server.stdout.readline().decode()
    found = re.search(r"http://127\.0\.0\.1:(\d+)/", line)
    if not found:
        server.kill()
        raise SystemExit(f"serve-checks: the server did not start: {line!r}")
    return server, int(found.group(1))


def pages_in_a_row(port, count):
    """Asks for the start page count times, one request after another on a kept-alive connection
    (a new one when the server closes it); returns how many were answered."""
    request = b"GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"
    answered = 0
    while answered < count:
        with socket.create_connection(("127.0.0.1", port), timeout=5) as client:
            pending = b""
            while answered < count:
                client.sendall(request)
                while b"\r\n\r\n" not in pending:
                    chunk = client.recv(65536)
                    if not chunk:
                        return answered
                    pending += chunk
                head, pending = pending.split(b"\r\n\r\n", 1)
                length = int(re.search(rb"Content-Length: (\d+)", head).group(1))
                while len(pending) < length:
                    chunk = client.recv(65536)
                    if not chunk:
                        return answered
                    pending += chunk
                pending = pending[length:]
                answered += 1
                if b"Connection: close" in head:
                    break
    return answered


def stop(server):
    server.send_signal(signal.SIGTERM)
    try:
        return server.wait(timeout=10)
    except subprocess.TimeoutExpired:
        server.kill()
        return "hung"


def output_check(cli, name, stderr, close_output, count):
    server, port = start_server(cli, stderr)
    if close_output:  # as `serve 2>&1 | head -1` leaves it
        server.stdout.close()
    start = time.monotonic()
    try:
        answered = pages_in_a_row(port, count)
    except OSError:
        answered = 0
    took = time.monotonic() - start
    status = stop(server)
    ok = answered == count and status == 0
    print(f"{'ok  ' if ok else 'FAIL'}  {name}: {answered} of {count} pages in {took:.1f} s,"
          f" exit status {status} on SIGTERM")
    return 0 if ok else 1


def per_client(cli, cap=4):
    """serve --per-client CAP: CAP connections from 127.0.0.1 are held; one more from there is closed
    at once, unanswered; a client from 127.0.0.2 is served meanwhile, and 127.0.0.1 once its
    connections are gone."""
    server, port = start_server(cli, subprocess.DEVNULL, ("--per-client", str(cap)))
    request = b"GET / HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n"
    failures = 0
    try:
        held = [socket.create_connection(("127.0.0.1", port), timeout=5) for _ in range(cap)]
        time.sleep(0.3)  # taken by the server
        start = time.monotonic()
        answer, ending = exchange(port, request, False, quiet=3.0)
        took = time.monotonic() - start
        # Closed at once: with the request already there, the close may come as a reset.
        ok = answer == b"" and ending in ("closed", "reset") and took < 1.0
        print(f"{'ok  ' if ok else 'FAIL'}  connection {cap + 1} from one address:"
              f" {'no answer' if not answer else answer[:12].decode(errors='replace')}, {ending} after {took:.2f} s")
        failures += not ok
        answer, ending = exchange(port, request, False, source="127.0.0.2")
        ok = answer.startswith(b"HTTP/1.1 200 ") and ending == "closed"
        print(f"{'ok  ' if ok else 'FAIL'}  another address meanwhile: {answer[:12].decode(errors='replace') or 'no answer'}, {ending}")
        failures += not ok
        for client in held:
            client.close()
        time.sleep(0.3)
        answer, ending = exchange(port, request, False)
        ok = answer.startswith(b"HTTP/1.1 200 ") and ending == "closed"
        print(f"{'ok  ' if ok else 'FAIL'}  the first address once its connections closed:"
              f" {answer[:12].decode(errors='replace') or 'no answer'}, {ending}")
        failures += not ok
    finally:
        status = stop(server)
    if status != 0:
        print(f"FAIL  exit status {status} on SIGTERM")
        failures += 1
    return failures


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("protocol", "closed-output", "unread-output", "per-client"):
        print(__doc__, file=sys.stderr)
        return 2
    what, argument = sys.argv[1], sys.argv[2]
    if what == "protocol":
        failures = protocol(int(argument))
    elif what == "closed-output":
        failures = output_check(argument, "output closed", subprocess.STDOUT, True, 200)
    elif what == "per-client":
        failures = per_client(argument)
    else:
        # 20,000 log lines are far more than a pipe holds.
        failures = output_check(argument, "error output never read", subprocess.PIPE, False, 20000)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

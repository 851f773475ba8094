#!/usr/bin/env python3
"""A slow-request flood on a decoder port, and what a new client sees meanwhile.

Opens CONNECTIONS connections to 127.0.0.1:PORT that each send one byte of a request head every
INTERVAL seconds (the request is never completed). From PROBE_AFTER seconds on, a new client asks
for the start page every half second and the time to its full answer is recorded. With --pid the
CPU the server process uses during the flood is measured from /proc. Prints one summary line per
figure, then "flood: passed" or the limits that were missed (with --check).

Standard library only: python3 scripts/flood.py --port 8080 --pid 1234 --check
"""

import argparse
import os
import resource
import selectors
import socket
import sys
import time

HEAD = b"GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Slow: " + b"a" * 4096


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def fetch_page(port, timeout):
    """Seconds until the whole answer to GET / came back, or None when it did not within timeout."""
    start = time.monotonic()
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=timeout) as client:
            client.settimeout(max(0.01, timeout - (time.monotonic() - start)))
            client.sendall(b"GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n")
            answer = b""
            while True:
                data = client.recv(65536)
                if not data:
                    break
                answer += data
    except OSError:
        return None
    if not answer.startswith(b"HTTP/1.1 200 ") or b"</html>" not in answer:
        return None
    return time.monotonic() - start


class Flood:
    def __init__(self, port, count, interval, reconnect):
        self.port, self.interval, self.reconnect = port, interval, reconnect
        self.selector = selectors.DefaultSelector()
        self.sockets = {}  # socket -> [bytes sent, next send time]
        self.opened = self.closed_by_server = 0
        for _ in range(count):
            self.open_one()

    def open_one(self):
        sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        sock.setblocking(False)
        sock.connect_ex(("127.0.0.1", self.port))
        self.sockets[sock] = [0, time.monotonic()]
        self.selector.register(sock, selectors.EVENT_READ)
        self.opened += 1

    def drop(self, sock):
        self.selector.unregister(sock)
        del self.sockets[sock]
        sock.close()

    def run_for(self, seconds):
        end = time.monotonic() + seconds
        while True:
            now = time.monotonic()
            if now >= end:
                return
            for key, _ in self.selector.select(timeout=min(0.1, end - now)):
                sock = key.fileobj
                try:
                    data = sock.recv(4096)
                except (BlockingIOError, InterruptedError):
                    continue
                except OSError:
                    data = b""
                if not data:  # closed by the server (or refused)
                    self.closed_by_server += 1
                    self.drop(sock)
                    if self.reconnect:
                        self.open_one()
            now = time.monotonic()
            for sock, state in list(self.sockets.items()):
                if state[1] <= now and state[0] < len(HEAD):
                    try:
                        if sock.send(HEAD[state[0]:state[0] + 1]) == 1:
                            state[0] += 1
                    except (BlockingIOError, InterruptedError, OSError):
                        state[1] = now + 0.5  # not connected yet: the server has not taken it
                        continue
                    state[1] = now + self.interval

    def held(self):
        """Connections that have sent at least one byte and are still open."""
        return sum(1 for state in self.sockets.values() if state[0] > 0)

    def close(self):
        for sock in list(self.sockets):
            self.drop(sock)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--pid", type=int, help="the server's process, whose CPU use is measured")
    parser.add_argument("--connections", type=int, default=1100)
    parser.add_argument("--interval", type=float, default=15.0, help="seconds between two bytes")
    parser.add_argument("--probe-after", type=float, default=11.0,
                        help="seconds after the flood opened (past the server's deadline) before probing")
    parser.add_argument("--probes", type=int, default=10)
    parser.add_argument("--reconnect", action="store_true", help="reopen every connection the server closes")
    parser.add_argument("--check", action="store_true", help="fail unless the limits below are kept")
    parser.add_argument("--max-seconds", type=float, default=2.0, help="limit on a probe's time to its page")
    parser.add_argument("--max-cpu", type=float, default=10.0, help="limit on the server's CPU, in percent")
    args = parser.parse_args()

    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    wanted = args.connections + 64
    if soft < wanted:
        if hard != resource.RLIM_INFINITY and hard < wanted:
            print(f"flood: {wanted} files needed, the limit is {hard}", file=sys.stderr)
            return 2
        resource.setrlimit(resource.RLIMIT_NOFILE, (wanted, hard))

    cpu_start = cpu_seconds(args.pid) if args.pid else None
    wall_start = time.monotonic()
    flood = Flood(args.port, args.connections, args.interval, args.reconnect)
    flood.run_for(args.probe_after)
    held_before = flood.held()
    times = []
    for _ in range(args.probes):
        probe_start = time.monotonic()
        took = fetch_page(args.port, timeout=max(5.0, args.max_seconds * 2))
        times.append(took)
        flood.run_for(max(0.0, 0.5 - (time.monotonic() - probe_start)))
    held_after = flood.held()
    wall = time.monotonic() - wall_start
    cpu = (cpu_seconds(args.pid) - cpu_start) / wall * 100 if args.pid else None
    flood.close()

    answered = [t for t in times if t is not None]
    print(f"flood: {args.connections} connections, one byte every {args.interval:g} s"
          f"{', reopened when closed' if args.reconnect else ''}; {flood.opened} opened,"
          f" {flood.closed_by_server} closed by the server")
    print(f"flood: connections holding a partial request: {held_before} after {args.probe_after:g} s,"
          f" {held_after} at the end ({wall:.1f} s)")
    print(f"flood: new clients answered: {len(answered)} of {len(times)}; time to the page:"
          f" {'max %.3f s, median %.3f s' % (max(answered), sorted(answered)[len(answered) // 2]) if answered else 'none'}")
    if cpu is not None:
        print(f"flood: server CPU during the flood: {cpu:.1f} %")

    if not args.check:
        return 0
    failures = []
    if len(answered) != len(times):
        failures.append(f"{len(times) - len(answered)} new clients got no page")
    elif max(answered) > args.max_seconds:
        failures.append(f"a new client waited {max(answered):.2f} s for its page (limit {args.max_seconds:g} s)")
    if cpu is not None and cpu > args.max_cpu:
        failures.append(f"the server used {cpu:.1f} % CPU (limit {args.max_cpu:g} %)")
    for failure in failures:
        print(f"flood: {failure}", file=sys.stderr)
    if failures:
        return 1
    print("flood: passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Floods of connections on a decoder port, and what a new client sees meanwhile.

Three kinds, by --mode:
  slow        CONNECTIONS connections that each send one byte of a request head every INTERVAL
              seconds (the request is never completed); from PROBE_AFTER seconds on, a new client asks
              for the start page every half second.
  burst       CONNECTIONS connections opened at once that send nothing, held for HOLD seconds, then
              closed; from 2 s into the hold until its end, and after it, a new client asks for the
              start page every half second.
  keep-alive  CONNECTIONS connections that each send a small complete request every INTERVAL seconds
              and reopen when the server closes them, for DURATION seconds; a new client asks for the
              start page every half second throughout.
  unread      CONNECTIONS connections that each send PIPELINE requests for --unread-path at once and
              read nothing, reopened when closed, for DURATION seconds; a new client asks for the
              start page every half second throughout.
The time to each new client's full answer is recorded. With --pid the CPU the server process uses
during the flood is measured, the descriptors it holds (/proc/PID/fd) are counted every 20 ms, and
its resident memory is sampled with them (and once more 3 s after the flood is gone).
Prints one summary line per figure, then "flood: passed" or the limits that were missed (with
--check).

Standard library only: python3 tests/service/flood.py --port 8080 --pid 1234 --check
"""

import argparse
import os
import resource
import selectors
import socket
import sys
import time

HEAD = b"GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Slow: " + b"a" * 4096
SMALL_REQUEST = b"GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"
# What a client that never reads sends at once (set from --unread-path and --pipeline).
UNREAD_REQUESTS = b""


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def resident_mb(pid):
    """The server's resident memory in MB, or 0 when it cannot be read."""
    try:
        with open(f"/proc/{pid}/status") as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1]) / 1024
    except OSError:
        pass
    return 0.0


class Descriptors:
    """The most descriptors the server process held, and the most memory, sampled at most every
    20 ms."""

    def __init__(self, pid):
        self.pid, self.most, self.last, self.most_mb = pid, 0, 0.0, 0.0

    def sample(self):
        now = time.monotonic()
        if not self.pid or now - self.last < 0.02:
            return
        self.last = now
        try:
            self.most = max(self.most, len(os.listdir(f"/proc/{self.pid}/fd")))
        except OSError:
            pass
        self.most_mb = max(self.most_mb, resident_mb(self.pid))


# The page a new client asks for: the start page, or the one under the path the server was given.
PROBE_PATH = "/"


def fetch_page(port, timeout):
    """Seconds until the whole answer to the probe's page came back, or None when it did not within
    timeout."""
    start = time.monotonic()
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=timeout) as client:
            client.settimeout(max(0.01, timeout - (time.monotonic() - start)))
            client.sendall(b"GET " + PROBE_PATH.encode() + b" HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n")
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
    """Connections that send HEAD a byte at a time, a whole request at a time, or nothing."""

    def __init__(self, port, count, interval, reconnect, request, descriptors):
        self.port, self.interval, self.reconnect, self.request = port, interval, reconnect, request
        self.descriptors = descriptors
        self.selector = selectors.DefaultSelector()
        self.sockets = {}  # socket -> [bytes sent, next send time]
        self.opened = self.closed_by_server = self.answers = 0
        start = time.monotonic()
        for i in range(count):
            # Whole requests are spread over the interval, as many clients would send them.
            self.open_one(start + (interval * i / count if request == "whole" else 0.0))
            descriptors.sample()

    def open_one(self, first_send):
        sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        sock.setblocking(False)
        sock.connect_ex(("127.0.0.1", self.port))
        self.sockets[sock] = [0, first_send]
        if self.request != "pipelined":  # one that never reads is looked at as it sends
            self.selector.register(sock, selectors.EVENT_READ)
        self.opened += 1

    def drop(self, sock):
        if self.request != "pipelined":
            self.selector.unregister(sock)
        state = self.sockets.pop(sock)
        sock.close()
        return state

    def send(self, sock, state, now):
        if self.request == "none":
            return
        if self.request == "pipelined":
            if state[0] == 0:
                if sock.send(UNREAD_REQUESTS) > 0:  # what does not fit is never sent
                    state[0] = 1
            elif self.closed(sock):
                self.closed_by_server += 1
                self.drop(sock)
                self.open_one(now)
                return
            state[1] = now + 0.5
            return
        if self.request == "whole":
            sock.send(SMALL_REQUEST)  # a few bytes: they fit, or the socket is not connected yet
            state[1] = now + self.interval
        elif state[0] < len(HEAD):
            if sock.send(HEAD[state[0]:state[0] + 1]) == 1:
                state[0] += 1
            state[1] = now + self.interval

    def run_for(self, seconds):
        end = time.monotonic() + seconds
        while True:
            now = time.monotonic()
            self.descriptors.sample()
            if now >= end:
                return
            for key, _ in self.selector.select(timeout=min(0.02, end - now)):
                sock = key.fileobj
                try:
                    data = sock.recv(65536)
                except (BlockingIOError, InterruptedError):
                    continue
                except OSError:
                    data = b""
                if data:
                    self.answers += data.count(b"HTTP/1.1 200 ")
                    continue

                # Closed by the server (or refused).
                self.closed_by_server += 1
                state = self.drop(sock)
                if self.reconnect:
                    # A whole request keeps its time; a new head starts at once.
                    self.open_one(state[1] if self.request == "whole" else time.monotonic())
            now = time.monotonic()
            if self.request == "pipelined" and not self.sockets:
                time.sleep(min(0.02, max(0.0, end - now)))
            for sock, state in list(self.sockets.items()):
                if state[1] <= now:
                    try:
                        self.send(sock, state, now)
                    except (BlockingIOError, InterruptedError, OSError):
                        state[1] = now + 0.5  # not connected yet: the server has not taken it
            self.descriptors.sample()

    @staticmethod
    def closed(sock):
        """Whether the server closed a connection, told without reading from it: the state of the
        connection (CLOSE, CLOSE_WAIT) as the system keeps it."""
        try:
            return sock.getsockopt(socket.IPPROTO_TCP, socket.TCP_INFO, 1)[0] in (7, 8)
        except OSError:
            return True

    def held(self):
        """Connections that have sent at least one byte and are still open."""
        return sum(1 for state in self.sockets.values() if state[0] > 0)

    def close(self):
        for sock in list(self.sockets):
            self.drop(sock)


def probe(flood, port, count, max_seconds, descriptors):
    """Asks for the start page count times, every half second, the flood going on in between."""
    times = []
    for _ in range(count):
        probe_start = time.monotonic()
        times.append(fetch_page(port, timeout=max(5.0, max_seconds * 2)))
        descriptors.sample()
        rest = max(0.0, 0.5 - (time.monotonic() - probe_start))
        if flood:
            flood.run_for(rest)
        else:
            time.sleep(rest)
    return times


def summary(times):
    answered = sorted(t for t in times if t is not None)
    if not answered:
        return "none"
    return f"max {answered[-1]:.3f} s, median {answered[len(answered) // 2]:.3f} s"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--pid", type=int, help="the server's process, whose CPU and descriptors are measured")
    parser.add_argument("--mode", choices=("slow", "burst", "keep-alive", "unread"), default="slow")
    parser.add_argument("--connections", type=int, default=1100)
    parser.add_argument("--interval", type=float, default=15.0,
                        help="seconds between two bytes (slow) or two requests (keep-alive)")
    parser.add_argument("--probe-after", type=float, default=11.0,
                        help="slow: seconds after the flood opened (past the server's deadline) before probing")
    parser.add_argument("--probes", type=int, default=10, help="slow, burst: new clients after the flood")
    parser.add_argument("--hold", type=float, default=12.0, help="burst: seconds the connections are held")
    parser.add_argument("--duration", type=float, default=40.0, help="keep-alive: seconds the flood runs")
    parser.add_argument("--reconnect", action="store_true", help="reopen every connection the server closes")
    parser.add_argument("--check", action="store_true", help="fail unless the limits below are kept")
    parser.add_argument("--max-seconds", type=float, default=2.0, help="limit on a probe's time to its page")
    parser.add_argument("--max-cpu", type=float, default=10.0, help="limit on the server's CPU, in percent")
    parser.add_argument("--max-fds", type=int, help="limit on the descriptors the server holds at once")
    parser.add_argument("--path", default="/", help="the page new clients ask for")
    parser.add_argument("--unread-path", default="/encoder/engine.js", help="unread: what is asked for")
    parser.add_argument("--pipeline", type=int, default=50, help="unread: requests sent at once")
    parser.add_argument("--max-rss-mb", type=float, help="limit on the server's resident memory")
    args = parser.parse_args()
    global PROBE_PATH, UNREAD_REQUESTS
    PROBE_PATH = args.path
    UNREAD_REQUESTS = (b"GET " + args.unread_path.encode() + b" HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n") * args.pipeline

    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    wanted = args.connections + 64
    if soft < wanted:
        if hard != resource.RLIM_INFINITY and hard < wanted:
            print(f"flood: {wanted} files needed, the limit is {hard}", file=sys.stderr)
            return 2
        resource.setrlimit(resource.RLIMIT_NOFILE, (wanted, hard))

    descriptors = Descriptors(args.pid)
    cpu_start = cpu_seconds(args.pid) if args.pid else None
    wall_start = time.monotonic()
    request = {"slow": "bytes", "burst": "none", "keep-alive": "whole", "unread": "pipelined"}[args.mode]
    reconnect = args.reconnect or args.mode in ("keep-alive", "unread")
    flood = Flood(args.port, args.connections, args.interval, reconnect, request, descriptors)
    if args.mode == "slow":
        flood.run_for(args.probe_after)
        held_before = flood.held()
        times = probe(flood, args.port, args.probes, args.max_seconds, descriptors)
        held_after = flood.held()
    elif args.mode == "burst":
        flood.run_for(min(2.0, args.hold))
        times = probe(flood, args.port, max(0, int((args.hold - 2.0) / 0.5)), args.max_seconds, descriptors)
    else:  # keep-alive, unread
        times = probe(flood, args.port, int(args.duration / 0.5), args.max_seconds, descriptors)
    wall = time.monotonic() - wall_start
    cpu = (cpu_seconds(args.pid) - cpu_start) / wall * 100 if args.pid else None
    flood.close()
    after_mb = None
    if args.pid:
        time.sleep(3)
        after_mb = resident_mb(args.pid)
    if args.mode == "burst":
        during = times
        times = during + probe(None, args.port, args.probes, args.max_seconds, descriptors)

    what = {"slow": f"one byte every {args.interval:g} s", "burst": f"silent, held {args.hold:g} s",
            "keep-alive": f"a request every {args.interval:g} s for {args.duration:g} s",
            "unread": f"{args.pipeline} requests for {args.unread_path} at once, nothing read,"
                      f" for {args.duration:g} s"}[args.mode]
    print(f"flood: {args.connections} connections, {what}"
          f"{', reopened when closed' if reconnect else ''}; {flood.opened} opened,"
          f" {flood.closed_by_server} closed by the server")
    if args.mode == "slow":
        print(f"flood: connections holding a partial request: {held_before} after {args.probe_after:g} s,"
              f" {held_after} at the end ({wall:.1f} s)")
    if args.mode == "keep-alive":
        print(f"flood: requests of the flood answered: {flood.answers}")
    when = {"slow": "during the flood", "burst": "during and after the burst", "keep-alive": "throughout",
            "unread": "throughout"}[args.mode]
    answered = [t for t in times if t is not None]
    print(f"flood: new clients answered {when}: {len(answered)} of {len(times)}; time to the page:"
          f" {summary(times)}")
    if cpu is not None:
        print(f"flood: server CPU during the flood: {cpu:.1f} %")
    if args.pid:
        print(f"flood: descriptors the server held: at most {descriptors.most}")
        print(f"flood: server memory: at most {descriptors.most_mb:.1f} MB, {after_mb:.1f} MB 3 s after the flood")

    if not args.check:
        return 0
    failures = []
    if len(answered) != len(times):
        failures.append(f"{len(times) - len(answered)} new clients got no page")
    elif max(answered) > args.max_seconds:
        failures.append(f"a new client waited {max(answered):.2f} s for its page (limit {args.max_seconds:g} s)")
    if cpu is not None and cpu > args.max_cpu:
        failures.append(f"the server used {cpu:.1f} % CPU (limit {args.max_cpu:g} %)")
    if args.max_rss_mb is not None and max(descriptors.most_mb, after_mb or 0) > args.max_rss_mb:
        failures.append(f"the server held {descriptors.most_mb:.1f} MB (limit {args.max_rss_mb:g} MB)")
    if args.max_fds is not None and descriptors.most > args.max_fds:
        failures.append(f"the server held {descriptors.most} descriptors (limit {args.max_fds})")
    for failure in failures:
        print(f"flood: {failure}", file=sys.stderr)
    if failures:
        return 1
    print("flood: passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/python3
"""late-print-server.py LISTEN_SOCKET UPSTREAM_SOCKET SECONDS

A print server for the tests under Wine: passes each connection on to the one at
UPSTREAM_SOCKET and its answers back SECONDS late; after SIGUSR1 it answers nothing more.
Wine asks the print server for its printers as a Windows program starts, so one silent from
the start would keep the program from starting. Ends when killed, or after ten minutes.
"""
import signal, socket, sys, threading, time

listen_path, upstream_path, delay = sys.argv[1], sys.argv[2], float(sys.argv[3])
silent = threading.Event()
signal.signal(signal.SIGUSR1, lambda *_: silent.set())


def pipe(source, sink, delay):
    try:
        while data := source.recv(65536):
            time.sleep(delay)
            while silent.is_set():
                time.sleep(1)
            sink.sendall(data)
    except OSError:
        pass
    for end in (source, sink):  # one side gone: the other sees its end
        try:
            end.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass


def serve(client):
    upstream = socket.socket(socket.AF_UNIX)
    try:
        upstream.connect(upstream_path)
    except OSError:
        return client.close()
    threading.Thread(target=pipe, args=(client, upstream, 0), daemon=True).start()
    threading.Thread(target=pipe, args=(upstream, client, delay), daemon=True).start()


listener = socket.socket(socket.AF_UNIX)
listener.bind(listen_path)
listener.listen(16)
listener.settimeout(1)
held = []  # connections made while silent: open, never answered
ends = time.monotonic() + 600
while time.monotonic() < ends:
    try:
        client, _ = listener.accept()
    except socket.timeout:
        continue
    held.append(client) if silent.is_set() else serve(client)

#!/usr/bin/python3
"""A print server that answers late, or no more, for the print tests under Wine.

  late-print-server.py LISTEN_SOCKET UPSTREAM_SOCKET SECONDS
      passes each connection on to the print server at UPSTREAM_SOCKET, and each of its
      answers back SECONDS late; after SIGUSR1 it answers nothing more, on any connection

Wine's print spooler asks the print server for its printers as a Windows program starts, so a
server that never answered would keep the program from starting at all.
Runs until it is killed, or for ten minutes at most.
"""
import os
import signal
import socket
import sys
import threading
import time


def pipe(source, sink, delay):
    try:
        while True:
            data = source.recv(65536)
            if not data:
                break
            time.sleep(delay)
            while silent.is_set():
                time.sleep(1)
            sink.sendall(data)
    except OSError:
        pass
    finally:
        for end in (source, sink):
            try:
                end.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass


def serve(client, upstream_path, delay):
    if silent.is_set():
        held.append(client)  # open, and never answered
        return
    upstream = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    try:
        upstream.connect(upstream_path)
    except OSError:
        client.close()
        return
    threading.Thread(target=pipe, args=(client, upstream, 0), daemon=True).start()
    threading.Thread(target=pipe, args=(upstream, client, delay), daemon=True).start()


held = []
silent = threading.Event()
signal.signal(signal.SIGUSR1, lambda *_: silent.set())
listen_path, upstream_path, delay = sys.argv[1], sys.argv[2], float(sys.argv[3])
if os.path.exists(listen_path):
    os.unlink(listen_path)
listener = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
listener.bind(listen_path)
listener.listen(16)
listener.settimeout(1)
ends = time.monotonic() + 600
while time.monotonic() < ends:
    try:
        connection, _ = listener.accept()
    except socket.timeout:
        continue
    serve(connection, upstream_path, delay)
